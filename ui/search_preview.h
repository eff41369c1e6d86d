#pragma once

// How the page appears in a list of search results: its title, its address and its
// description, each cut with "…" where a result page ends it.

#include <QFrame>
#include <QString>

#include "options/page_check_options.h"
#include "page_checks/page_checks.h"

class QLabel;

namespace velmora {

class TSearchPreview : public QFrame {
    Q_OBJECT

public:
    explicit TSearchPreview(const page_checks::TextWidthMeter& meter, QWidget* parent = nullptr);

    // `fileName` stands for the address when the page names no canonical URL.
    void Show(const page_checks::PageCheckReport& report, const PageCheckOptions& options,
              const QString& fileName);

    QLabel* TitleLine;
    QLabel* AddressLine;
    QLabel* DescriptionLine;
    // Says when widths are unknown and the texts are shown whole.
    QLabel* WidthNote;

protected:
    void changeEvent(QEvent* event) override;

private:
    void ApplyColours();

    const page_checks::TextWidthMeter& meter_;
    bool applyingColours_ = false;
};

}  // namespace velmora
