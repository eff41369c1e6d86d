#include "ui/head_text_dialog.h"

#include <QFile>

#include "core/html_functions_write.h"
#include "core/page_encoding.h"
#include "document/velmora_data.h"
#include "ui/page_checks_link.h"

namespace velmora {

std::optional<std::string> AskHeadText(TEditText& dialog, TPageChecksLink& pageChecks,
                                       const KelVelmoraData& document, LivePreview::Field field) {
    const bool title = field == LivePreview::Field::Title;
    const PageCheckOptions& checks = document.CheckOptions();
    const QString fileName = QFile::decodeName(QByteArray::fromStdString(document.GetFileName()));
    const page_checks::PageCheckReport& report = document.PageChecks();
    const std::string& current = title ? document.Result().title : document.Result().description;
    dialog.Prime(title ? QStringLiteral("Title") : QStringLiteral("Description"),
                 QString::fromStdString(PageBytesToUtf8(current, document.Rules().encoding())),
                 title, title ? TitleLimits(checks) : DescriptionLimits(checks),
                 LivePreview{PreviewPageOf(report, document.GetHtml(), fileName), checks, field});

    const auto edited = [&document, title](const QString& typed) {
        const std::string& html = document.GetHtml();
        const std::string bytes = TypedTextToPageBytes(typed.toStdString(), html);
        return title ? SetTitle(html, bytes) : SetDescription(html, bytes);
    };
    const QMetaObject::Connection following = QObject::connect(
        &dialog, &TEditText::TextTyped, &dialog, [&, title, fileName](const QString& typed) {
            pageChecks.FollowTyping(
                title, typed, [edited, typed] { return edited(typed); }, fileName);
        });
    dialog.exec();
    QObject::disconnect(following);
    if (!dialog.HaveChanged()) {
        pageChecks.Refresh(document);
        return std::nullopt;
    }
    return dialog.GetText().toStdString();
}

}  // namespace velmora
