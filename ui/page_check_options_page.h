#pragma once

// The Page Checks page of the options dialog: the thresholds of the checks in fields limited to
// their ranges, one switch per check, and its own Reset and Defaults.

#include <QChar>
#include <QList>
#include <QSet>
#include <QWidget>

#include "options/page_check_options.h"

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace velmora {

class TPageCheckOptionsPage : public QWidget {
    Q_OBJECT

public:
    // The switches take Alt-letter keys left free by the page's own controls and by
    // `dialogKeys`, those of the buttons around the page.
    explicit TPageCheckOptionsPage(const QSet<QChar>& dialogKeys, QWidget* parent = nullptr);

    // Edits `options` from now on; Reset goes back to them.
    void Prime(const PageCheckOptions& options);
    // What the fields show, with each minimum brought down to its maximum.
    PageCheckOptions Edited() const;
    // The options as primed, for Cancel.
    const PageCheckOptions& Primed() const { return primed_; }

    QList<QSpinBox*> Numbers;    // in the order of the settings' number table
    QList<QCheckBox*> Switches;  // in the order of the checks
    QPushButton* ResetButton;
    QPushButton* DefaultButton;

public slots:
    void ResetButtonClick();
    void DefaultButtonClick();

private:
    void Show(const PageCheckOptions& options);

    PageCheckOptions primed_;
};

}  // namespace velmora
