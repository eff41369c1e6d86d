#pragma once

// The file window's display: the page's file name and the analysis (rating, advice, title,
// description, keywords and the keyword counts), with the buttons that edit them.

#include <QString>
#include <QStringList>
#include <QWidget>

#include "page_checks/check_result.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace velmora {

class KelVelmoraData;
class TAdviceDialog;

class TFileDisplay : public QWidget {
    Q_OBJECT

public:
    explicit TFileDisplay(QWidget* parent = nullptr);

    // Shows the document's file name and the result of its last review.
    void Show(const KelVelmoraData& document);
    // The advice lines whole in a dialog, to read and scroll.
    void ShowAllAdvice();
    // The page checks' verdict under the rating, coloured like the state it names.
    void ShowVerdict(const QString& text, page_checks::CheckState state);
    // The focus starts on Browse.
    void FocusFirstControl();

signals:
    void BrowseClicked();
    void EditTitleClicked();
    void EditDescriptionClicked();
    void ChangeKeywordsClicked();
    // A click on the verdict line, or Enter on it.
    void VerdictClicked();

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    // Displays take their names from their labels; the two Edit buttons say what they edit.
    void NameControlsForScreenReaders();
    // Buttons of one width, boxes as tall as their fonts need, labels level with their boxes.
    void SizeWidgets();
    void BuildLayout();
    void ApplyDisplayColours();
    QList<QWidget*> Displays() const;

    QGroupBox* SourceBox;
    QLabel* Label1;
    QLineEdit* FileName;
    QPushButton* btn_browse;
    QGroupBox* FileInformationBox;
    QLabel* Label5;
    QLineEdit* Rating;
    QLabel* Label7;
    QListWidget* AdviceBox;
    QPushButton* VerdictLine;
    QLabel* Label6;
    QLineEdit* FileTitle;
    QPushButton* EditTitleButton;
    QLabel* DescriptionLab;
    QPlainTextEdit* Description;
    QPushButton* EditDescriptionButton;
    QLabel* Label2;
    QLineEdit* Keywords;
    QPushButton* KeywordsButton;
    QLabel* Label3;
    QLineEdit* KeywordGoodCount;
    QLabel* Label4;
    QLineEdit* KeywordBadCount;
    TAdviceDialog* AdviceDialog = nullptr;
    page_checks::CheckState verdictState_ = page_checks::CheckState::Info;
};

}  // namespace velmora
