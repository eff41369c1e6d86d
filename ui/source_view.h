#pragma once

// A read-only view of the page's source with line numbers, opened at a finding's line with the
// finding's element highlighted.

#include <QDialog>
#include <QPlainTextEdit>

namespace velmora {

// The source text with a gutter of line numbers.
class TNumberedSource : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TNumberedSource(QWidget* parent = nullptr);

    int GutterWidth() const;
    void PaintGutter(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* gutter_;
};

class TSourceView : public QDialog {
    Q_OBJECT

public:
    explicit TSourceView(QWidget* parent = nullptr);

    // Shows `source` (the page as text) with the cursor at `line` and `column` (both from 1) and
    // the element that starts there highlighted up to its closing ">".
    void ShowAt(const QString& source, const QString& pageName, int line, int column);

    TNumberedSource* Source;
};

}  // namespace velmora
