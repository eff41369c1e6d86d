#include "ui/check_presentation.h"

#include <array>

namespace velmora {
namespace {

using page_checks::CheckValue;

struct CheckLook {
    const char* name;
    CheckGroup group;
};

// In CheckId order.
constexpr std::array<CheckLook, kCheckCount> kLooks = {{
    {"Title", CheckGroup::Head},
    {"Description", CheckGroup::Head},
    {"Indexing", CheckGroup::Head},
    {"Canonical URL", CheckGroup::Head},
    {"Language", CheckGroup::Head},
    {"Character set", CheckGroup::Head},
    {"Viewport", CheckGroup::Head},
    {"Social previews", CheckGroup::Social},
    {"Language versions", CheckGroup::Head},
    {"Structured data", CheckGroup::Head},
    {"Main heading", CheckGroup::Body},
    {"Heading levels", CheckGroup::Body},
    {"Image alt text", CheckGroup::Body},
    {"Link texts", CheckGroup::Body},
    {"Content length", CheckGroup::Body},
    {"Keyphrase", CheckGroup::Body},
    {"Duplicate title", CheckGroup::Head},
    {"Duplicate description", CheckGroup::Head},
    {"Broken links", CheckGroup::Body},
    {"Broken fragment links", CheckGroup::Body},
    {"Canonical target", CheckGroup::Head},
    {"Language version links back", CheckGroup::Head},
    {"Orphan page", CheckGroup::Body},
    {"Sitemap", CheckGroup::Head},
    {"Robots rules", CheckGroup::Head},
}};

QString Scalar(const CheckValue& value);

QString ObjectText(const CheckValue::Object& fields) {
    QStringList parts;
    for (const page_checks::CheckField& field : fields) {
        parts.append(QString::fromStdString(field.name) + QStringLiteral(": ") +
                     Scalar(field.value));
    }
    return parts.join(QStringLiteral(", "));
}

QString Scalar(const CheckValue& value) {
    if (const auto* b = std::get_if<bool>(&value.value)) {
        return *b ? QStringLiteral("yes") : QStringLiteral("no");
    }
    if (const auto* n = std::get_if<std::int64_t>(&value.value)) {
        return QString::number(*n);
    }
    if (const auto* s = std::get_if<std::string>(&value.value)) {
        return QString::fromStdString(*s);
    }
    if (const auto* list = std::get_if<CheckValue::List>(&value.value)) {
        QStringList parts;
        for (const CheckValue& item : *list) {
            parts.append(Scalar(item));
        }
        return parts.join(QStringLiteral(", "));
    }
    if (const auto* object = std::get_if<CheckValue::Object>(&value.value)) {
        return ObjectText(*object);
    }
    return QStringLiteral("unknown");
}

}  // namespace

QString CheckGroupName(CheckGroup group) {
    switch (group) {
        case CheckGroup::Head:
            return QStringLiteral("Head");
        case CheckGroup::Body:
            return QStringLiteral("Body");
        case CheckGroup::Social:
            break;
    }
    return QStringLiteral("Social");
}

CheckGroup GroupOfCheck(CheckId id) {
    return kLooks[static_cast<std::size_t>(id)].group;
}

QString CheckDisplayName(CheckId id) {
    return QString::fromUtf8(kLooks[static_cast<std::size_t>(id)].name);
}

PresentedValues PresentValues(const CheckValue::Object& values) {
    PresentedValues presented;
    QStringList singles;
    for (const page_checks::CheckField& field : values) {
        const QString name = QString::fromStdString(field.name);
        const auto* list = std::get_if<CheckValue::List>(&field.value.value);
        if (list != nullptr && field.name == "first") {
            // The first few findings (images without alt, generic links, skipped headings)
            // get a row each; other lists read on one line.
            for (const CheckValue& item : *list) {
                presented.items.append(Scalar(item));
            }
            continue;
        }
        if (name == QStringLiteral("text")) {
            continue;  // the title and description are in the preview
        }
        singles.append(name + QStringLiteral(": ") + Scalar(field.value));
    }
    presented.summary = singles.join(QStringLiteral(" · "));
    return presented;
}

QString SummaryText(const page_checks::CheckSummary& summary) {
    QString text =
        QStringLiteral("%1 %2 · %3 to improve · %4 good")
            .arg(summary.problem)
            .arg(summary.problem == 1 ? QStringLiteral("problem") : QStringLiteral("problems"))
            .arg(summary.improve)
            .arg(summary.good);
    if (summary.info > 0) {
        text += QStringLiteral(" · %1 info").arg(summary.info);
    }
    return text;
}

}  // namespace velmora
