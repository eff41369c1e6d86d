#pragma once

// The dialog that edits the page title or description.

#include <QDialog>
#include <QString>
#include <optional>

#include "ui/length_counter.h"
#include "ui/search_preview.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velmora {

// The search result the edited text appears in; the edited field follows the typing.
struct LivePreview {
    enum class Field { Title, Description };
    PreviewPage page;
    PageCheckOptions options;
    Field field = Field::Title;
};

class TEditText : public QDialog {
    Q_OBJECT

public:
    explicit TEditText(QWidget* parent = nullptr);

    // Caption and field name, the text, and whether the field is one line (fixed height, no
    // wrapping) or five lines that wrap (the window may grow taller).
    // With limits, a counter below the edit box shows the length as it is typed; with a
    // preview, the search result below it is redrawn on every keystroke.
    void Prime(const QString& caption, const QString& text, bool singleLine,
               std::optional<LengthLimits> limits = std::nullopt,
               std::optional<LivePreview> preview = std::nullopt);
    bool HaveChanged() const;
    // The edited text with line breaks as spaces and every run of spaces as one space.
    QString GetText() const;

    QPlainTextEdit* EditWindow;
    QPushButton* SaveButton;
    QPushButton* CancelButton;
    QLineEdit* TitleLabel;
    QLabel* LengthCounter;
    TSearchPreview* Preview;

signals:
    // The cleaned text after each change, for windows that follow the typing.
    void TextTyped(const QString& text);

public slots:
    void SaveButtonClick();
    void CancelButtonClick();

protected:
    // Esc and Cancel put the initial text back.
    void reject() override;
    // The close box keeps the edits, as Save does.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int EditHeight(int lines) const;
    // The edit box's text with its line breaks as LF.
    QString EditedText() const;
    void UpdateCounter();
    void FollowTyping();

    QString InitialText;
    // The initial text as the edit box gives it back, which is what edits are measured against.
    QString InitialReading;
    int FittedHeight = 0;
    std::optional<LengthLimits> Limits;
    std::optional<LivePreview::Field> PreviewField;
};

}  // namespace velmora
