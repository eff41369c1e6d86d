#pragma once

// The dialog where the user picks the page's keywords from its candidate words and phrases.

#include <QDialog>
#include <cstdint>
#include <string>

#include "analysis/candidate_keywords.h"
#include "analysis/keyword_choice.h"
#include "analysis/reviewed_html.h"
#include "analysis/word_list.h"
#include "options/velmora_types.h"

class QListWidget;
class QPushButton;

namespace velmora {

class Prompt;
class TProgressForm;

class TChangeKeywords : public QDialog {
    Q_OBJECT

public:
    // Each item shows its line; this role holds the keyword's text in the page's bytes.
    static constexpr int kKeywordTextRole = Qt::UserRole + 1;

    TChangeKeywords(Prompt& prompt, TProgressForm& progress, QWidget* parent = nullptr);

    // Fills both lists; announces the reordering when the keywords are not in the best order.
    // words and options must outlive the dialog's use.
    void Prime(const ::velmora::KeywordList& keywords, std::int32_t wordCount,
               const WordList& words, const std::string& title, const KelVelmoraOptions& options);
    // The same for the reviewed page, whose check derives the good candidates that the lists
    // are built from. review and options must outlive the dialog's use.
    void Prime(TReviewedHtml& review, const KelVelmoraOptions& options);
    bool HaveChanged() const { return Changed; }
    // The keyword texts of the right list, best score first.
    ::velmora::KeywordList GetKeywords() const;

    QListWidget* CandidateList;
    QListWidget* KeywordList;
    QPushButton* AddButton;
    QPushButton* RemoveButton;
    QPushButton* btn_auto;
    QPushButton* DoneButton;
    QPushButton* CancelButton;

public slots:
    void AddButtonClick();
    void RemoveButtonClick();
    void btn_autoClick();

protected:
    // Esc and Cancel drop the changes.
    void reject() override;
    // The close box acts as Done.
    void closeEvent(QCloseEvent* event) override;

private:
    void FillLists(const PrimedKeywordChoice& primed, const WordList& words,
                   const std::string& title, const KelVelmoraOptions& options);
    void MoveSelectedLines(QListWidget& from, QListWidget& to);
    void InsertEntry(QListWidget& list, const ChoiceEntry& entry) const;
    void FillList(QListWidget& list, const std::vector<ChoiceEntry>& entries) const;

    Prompt& prompt_;
    TProgressForm& progress_;

    bool Changed = false;
    ::velmora::KeywordList GoodCandidates;
    const WordList* Words = nullptr;
    std::string Title;
    const KelVelmoraOptions* Options = nullptr;
};

}  // namespace velmora
