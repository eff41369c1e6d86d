#include "ui/page_checks_link.h"

#include <QFile>

#include "document/velmora_data.h"
#include "options/page_check_settings.h"
#include "ui/page_checks_window.h"
#include "ui/wait_cursor.h"
#include "ui/width_meter.h"

namespace velmora {

TPageChecksLink::TPageChecksLink(QWidget& owner) : QObject(&owner), owner_(owner) {}

void TPageChecksLink::Show(const KelVelmoraData& document) {
    if (window_ == nullptr) {
        window_ = new TPageChecksWindow(SharedWidthMeter(), &owner_);
    }
    window_->show();
    Refresh(document);
    window_->raise();
    window_->activateWindow();
}

void TPageChecksLink::Refresh(const KelVelmoraData& document) {
    if (window_ == nullptr || !window_->isVisible()) {
        return;
    }
    if (document.GetFileName().empty()) {
        window_->ShowNoPage();
        return;
    }
    const WaitCursor wait;
    window_->Refresh(document.Html,
                     QFile::decodeName(QByteArray::fromStdString(document.GetFileName())));
}

void TPageChecksLink::ReloadSettings() {
    if (window_ != nullptr) {
        window_->Options = PageCheckSettings().Load();
    }
}

}  // namespace velmora
