#include "ui/change_keywords_form.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <memory>

#include "analysis/keyword_choice.h"
#include "core/page_encoding.h"
#include "ui/progress_message_form.h"
#include "ui/prompt.h"
#include "ui/screen_fit.h"

namespace velmora {

namespace {

constexpr int kMargin = 7;
constexpr QSize kDesignSize(525, 288);
constexpr QSize kMinimumSize(400, 160);

std::string LineOf(const QListWidgetItem& item) {
    return item.data(Qt::UserRole).toByteArray().toStdString();
}

ChoiceEntry EntryOf(const QListWidgetItem& item) {
    return {item.data(TChangeKeywords::kKeywordTextRole).toByteArray().toStdString(), LineOf(item)};
}

std::vector<ChoiceEntry> EntriesOf(const QListWidget& list) {
    std::vector<ChoiceEntry> entries;
    entries.reserve(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row) {
        entries.push_back(EntryOf(*list.item(row)));
    }
    return entries;
}

// The two lists always get the same width; an odd pixel goes to the right margin.
class TwinColumnGrid : public QGridLayout {
public:
    using QGridLayout::QGridLayout;

    void setGeometry(const QRect& rect) override {
        QGridLayout::setGeometry(rect);
        if (cellRect(1, 0).width() != cellRect(1, 2).width()) {
            QGridLayout::setGeometry(rect.adjusted(0, 0, -1, 0));
        }
    }
};

// Shows the entry's line; keeps the line's bytes for the order and the text's for the result.
QListWidgetItem* NewItem(const ChoiceEntry& entry, Encoding encoding) {
    auto* item = new QListWidgetItem(QString::fromStdString(PageBytesToUtf8(entry.line, encoding)));
    item->setData(Qt::UserRole, QByteArray::fromStdString(entry.line));
    item->setData(TChangeKeywords::kKeywordTextRole, QByteArray::fromStdString(entry.text));
    return item;
}

QListWidget* MakeList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

QPushButton* MakeButton(const QString& text, QWidget* parent, const char* name) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

TChangeKeywords::TChangeKeywords(Prompt& prompt, TProgressForm& progress, QWidget* parent)
    : QDialog(parent),
      CandidateList(MakeList(this, "CandidateList")),
      KeywordList(MakeList(this, "KeywordList")),
      AddButton(MakeButton(QStringLiteral("&Add >>"), this, "AddButton")),
      RemoveButton(MakeButton(QStringLiteral("<< &Remove"), this, "RemoveButton")),
      btn_auto(MakeButton(QStringLiteral("A&uto"), this, "btn_auto")),
      DoneButton(MakeButton(QStringLiteral("&Done"), this, "DoneButton")),
      CancelButton(MakeButton(QStringLiteral("&Cancel"), this, "CancelButton")),
      prompt_(prompt),
      progress_(progress) {
    setObjectName("ChangeKeywords");
    setWindowTitle(QStringLiteral("Change Keywords"));

    auto* candidateLabel = new QLabel(QStringLiteral("Ca&ndidate Keywords"), this);
    candidateLabel->setBuddy(CandidateList);
    candidateLabel->setObjectName("Label1");
    auto* keywordsLabel = new QLabel(QStringLiteral("&Keywords"), this);
    keywordsLabel->setBuddy(KeywordList);
    keywordsLabel->setObjectName("KeywordsLabel");
    for (QPushButton* button : {AddButton, RemoveButton, btn_auto}) {
        button->setMinimumSize(71, 20);
    }
    DoneButton->setMinimumSize(61, 20);
    CancelButton->setMinimumSize(61, 20);
    DoneButton->setDefault(true);

    auto* commands = new QVBoxLayout;
    commands->setSpacing(kMargin);
    commands->addSpacing(5);
    commands->addWidget(AddButton);
    commands->addWidget(RemoveButton);
    commands->addSpacing(2);
    commands->addWidget(btn_auto);
    commands->addStretch(1);

    // Two lists of equal width with the command column between them; Done lines up with the
    // right edge of the candidate list and Cancel with the left edge of the keyword list.
    auto* layout = new TwinColumnGrid(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setHorizontalSpacing(kMargin);
    layout->setVerticalSpacing(2);
    layout->addWidget(candidateLabel, 0, 0);
    layout->addWidget(keywordsLabel, 0, 2);
    layout->addWidget(CandidateList, 1, 0);
    layout->addLayout(commands, 1, 1);
    layout->addWidget(KeywordList, 1, 2);
    layout->setRowMinimumHeight(2, kMargin - layout->verticalSpacing());
    layout->addWidget(DoneButton, 3, 0, Qt::AlignRight);
    layout->addWidget(CancelButton, 3, 2, Qt::AlignLeft);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(1, 1);

    connect(AddButton, &QPushButton::clicked, this, &TChangeKeywords::AddButtonClick);
    connect(RemoveButton, &QPushButton::clicked, this, &TChangeKeywords::RemoveButtonClick);
    connect(btn_auto, &QPushButton::clicked, this, &TChangeKeywords::btn_autoClick);
    connect(DoneButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(CandidateList, &QListWidget::itemDoubleClicked, this, &TChangeKeywords::AddButtonClick);
    connect(KeywordList, &QListWidget::itemDoubleClicked, this,
            &TChangeKeywords::RemoveButtonClick);

    setMinimumSize(minimumSizeHint().expandedTo(kMinimumSize));
    FitToScreen(*this, kDesignSize.expandedTo(minimumSize()));
}

void TChangeKeywords::Prime(const ::velmora::KeywordList& keywords, std::int32_t wordCount,
                            const WordList& words, const std::string& title,
                            const KelVelmoraOptions& options) {
    const std::size_t steps = keywords.size() + words.OccurrenceCount();
    progress_.Start(static_cast<int>(std::min<std::size_t>(steps, INT_MAX)));
    const PrimedKeywordChoice primed =
        PrimeKeywordChoice(keywords, wordCount, words, title, options, [this](std::size_t done) {
            progress_.Advance(static_cast<int>(std::min<std::size_t>(done, INT_MAX)));
        });
    progress_.Finish();
    FillLists(primed, words, title, options);
}

void TChangeKeywords::Prime(TReviewedHtml& review, const KelVelmoraOptions& options) {
    const std::size_t steps =
        review.GetKeywords().size() + review.GetCandidateList().OccurrenceCount();
    progress_.Start(static_cast<int>(std::min<std::size_t>(steps, INT_MAX)));
    review.CheckPage(options, ReviewScope::WithCandidateChoice, [this](std::size_t done) {
        progress_.Advance(static_cast<int>(std::min<std::size_t>(done, INT_MAX)));
    });
    progress_.Finish();
    FillLists(PrimedFromReview(review.Result()), review.GetCandidateList(), review.Result().title,
              options);
}

void TChangeKeywords::FillLists(const PrimedKeywordChoice& primed, const WordList& words,
                                const std::string& title, const KelVelmoraOptions& options) {
    Words = &words;
    Title = title;
    Options = &options;
    FillList(*KeywordList, primed.Keywords);
    FillList(*CandidateList, primed.Candidates);
    GoodCandidates = primed.GoodCandidates;
    Changed = false;
    // Each use starts in the candidate list, where Enter means Done.
    CandidateList->setFocus();

    if (!primed.OrderOptimal) {
        prompt_.Ask(parentWidget(), QStringLiteral("Optimal Keyword Ordering"),
                    QStringLiteral("Keywords will automatically be reordered in the document to "
                                   "reflect the optimal keyword ordering."),
                    Prompt::Buttons::Ok, Prompt::Icon::Information);
        Changed = true;
    }
}

::velmora::KeywordList TChangeKeywords::GetKeywords() const {
    if (Words == nullptr) {
        return {};
    }
    return KeywordsFromEntries(EntriesOf(*KeywordList), *Words, Title, *Options);
}

void TChangeKeywords::AddButtonClick() {
    MoveSelectedLines(*CandidateList, *KeywordList);
}

void TChangeKeywords::RemoveButtonClick() {
    MoveSelectedLines(*KeywordList, *CandidateList);
}

void TChangeKeywords::btn_autoClick() {
    if (Words == nullptr) {
        return;
    }
    progress_.Start(1);
    const ::velmora::KeywordList ranked =
        RankAutoKeywords(GoodCandidates, *Words, Title, *Options, &progress_.Indicator());
    const ChoiceLists chosen =
        ApplyAutoChoice(ChoiceLists{EntriesOf(*CandidateList), EntriesOf(*KeywordList)}, ranked,
                        *Options, Words->Rules());
    FillList(*CandidateList, chosen.Candidates);
    FillList(*KeywordList, chosen.Keywords);
    progress_.Finish();
    Changed = true;
}

void TChangeKeywords::reject() {
    Changed = false;
    QDialog::reject();
}

void TChangeKeywords::closeEvent(QCloseEvent* event) {
    if (isVisible()) {
        accept();
    }
    event->accept();
}

void TChangeKeywords::MoveSelectedLines(QListWidget& from, QListWidget& to) {
    for (int row = from.count() - 1; row >= 0; --row) {
        if (!from.item(row)->isSelected()) {
            continue;
        }
        const std::unique_ptr<QListWidgetItem> item(from.takeItem(row));
        InsertEntry(to, EntryOf(*item));
        Changed = true;
    }
}

void TChangeKeywords::InsertEntry(QListWidget& list, const ChoiceEntry& entry) const {
    const TextRules rules = Words != nullptr ? Words->Rules() : TextRules();
    const std::size_t at = SortedLinePosition(
        static_cast<std::size_t>(list.count()),
        [&](std::size_t row) { return LineOf(*list.item(static_cast<int>(row))); }, entry.line,
        rules);
    list.insertItem(static_cast<int>(at), NewItem(entry, rules.encoding()));
}

void TChangeKeywords::FillList(QListWidget& list, const std::vector<ChoiceEntry>& entries) const {
    const Encoding encoding = Words != nullptr ? Words->Rules().encoding() : Encoding::Windows1252;
    list.clear();
    for (const ChoiceEntry& entry : entries) {
        list.addItem(NewItem(entry, encoding));
    }
}

}  // namespace velmora
