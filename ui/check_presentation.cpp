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
    {"Head reading", CheckGroup::Head},
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

namespace {

QString ReadableField(const page_checks::CheckField& field) {
    const QString name = QString::fromStdString(field.name);
    const auto* number = std::get_if<std::int64_t>(&field.value.value);
    const bool unknown = std::holds_alternative<std::monostate>(field.value.value);
    if (name == QStringLiteral("characters") && number != nullptr) {
        return *number == 1 ? QStringLiteral("1 character")
                            : QStringLiteral("%1 characters").arg(*number);
    }
    if (name == QStringLiteral("pixels")) {
        return unknown ? QStringLiteral("width unknown") : QStringLiteral("%1 px").arg(*number);
    }
    if (name == QStringLiteral("words") && number != nullptr) {
        return *number == 1 ? QStringLiteral("1 word") : QStringLiteral("%1 words").arg(*number);
    }
    if (name == QStringLiteral("count") && number != nullptr) {
        return QStringLiteral("%1 found").arg(*number);
    }
    // Other values read as "name: value", with the JSON names' hyphens and underscores as blanks.
    QString label = name;
    label.replace(QLatin1Char('_'), QLatin1Char(' ')).replace(QLatin1Char('-'), QLatin1Char(' '));
    return label + QStringLiteral(": ") + (unknown ? QStringLiteral("none") : Scalar(field.value));
}

}  // namespace

QString ReadableValues(const CheckValue::Object& values) {
    QStringList parts;
    for (const page_checks::CheckField& field : values) {
        // The texts are in the preview; the lists of findings have rows of their own.
        if (field.name == "text" || field.name == "first") {
            continue;
        }
        parts.append(ReadableField(field));
    }
    return parts.join(QStringLiteral(", "));
}

QString FindingText(const page_checks::CheckedElement& element) {
    const QString place = QStringLiteral("Line %1, column %2")
                              .arg(element.position.line)
                              .arg(element.position.column);
    return element.text.empty()
               ? place
               : place + QStringLiteral(": ") + QString::fromStdString(element.text);
}

int StateRank(page_checks::CheckState state) {
    switch (state) {
        case page_checks::CheckState::Problem:
            return 0;
        case page_checks::CheckState::Improve:
            return 1;
        case page_checks::CheckState::Good:
            return 2;
        case page_checks::CheckState::Info:
            break;
    }
    return 3;
}

QString VerdictText(const page_checks::PageCheckReport& report) {
    const std::optional<int> score = report.Score();
    if (!score) {
        if (report.role == page_checks::PageRole::Redirect) {
            return QStringLiteral("No score · redirect to %1")
                .arg(QString::fromStdString(report.redirectTarget.value_or("another page")));
        }
        return report.role == page_checks::PageRole::NotIndexed
                   ? QStringLiteral("No score · not indexed")
                   : QStringLiteral("No score · nothing to judge");
    }
    const page_checks::CheckSummary& summary = report.summary;
    return QStringLiteral("Page score %1 · %2 %3 · %4 to improve")
        .arg(*score)
        .arg(summary.problem)
        .arg(summary.problem == 1 ? QStringLiteral("problem") : QStringLiteral("problems"))
        .arg(summary.improve);
}

page_checks::CheckState VerdictState(const page_checks::PageCheckReport& report) {
    if (!report.Score()) {
        return page_checks::CheckState::Info;
    }
    if (report.summary.problem > 0) {
        return page_checks::CheckState::Problem;
    }
    return report.summary.improve > 0 ? page_checks::CheckState::Improve
                                      : page_checks::CheckState::Good;
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
