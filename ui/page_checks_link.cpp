#include "ui/page_checks_link.h"

#include <QFile>
#include <QTimer>

#include "document/velmora_data.h"
#include "ui/focus_keyphrases.h"
#include "ui/page_checks_window.h"
#include "ui/width_meter.h"

namespace velmora {

namespace {

// Long enough that a typist's next key usually comes first.
constexpr int kTypingPauseMs = 250;

}  // namespace

PageCheckSetup DesktopPageChecks(const PageCheckOptions& options) {
    return {
        options, &SharedWidthMeter(), [](const std::string& fileName) {
            return TFocusKeyphrases::Load(QFile::decodeName(QByteArray::fromStdString(fileName)))
                .toStdString();
        }};
}

TPageChecksLink::TPageChecksLink(QWidget& owner)
    : QObject(&owner), owner_(owner), pause_(new QTimer(this)) {
    pause_->setSingleShot(true);
    pause_->setInterval(kTypingPauseMs);
    connect(pause_, &QTimer::timeout, this, &TPageChecksLink::CheckTypedPage);
}

void TPageChecksLink::Show(const KelVelmoraData& document) {
    if (window_ == nullptr) {
        window_ = new TPageChecksWindow(SharedWidthMeter(), &owner_);
        connect(window_, &TPageChecksWindow::KeyphraseKept, this, &TPageChecksLink::KeyphraseKept);
        connect(window_, &TPageChecksWindow::FixRequested, this, &TPageChecksLink::FixRequested);
    }
    window_->show();
    Refresh(document);
    window_->raise();
    window_->activateWindow();
}

void TPageChecksLink::Refresh(const KelVelmoraData& document) {
    pause_->stop();
    if (window_ == nullptr || !window_->isVisible()) {
        return;
    }
    if (document.GetFileName().empty()) {
        window_->ShowNoPage();
        return;
    }
    // Typing and the keyphrase field check again with these options.
    window_->Options = document.CheckOptions();
    window_->ShowChecked(document.PageChecks(), document.PageFixes(), document.GetHtml(),
                         QFile::decodeName(QByteArray::fromStdString(document.GetFileName())));
}

}  // namespace velmora

namespace velmora {

void TPageChecksLink::FollowTyping(bool title, const QString& typed,
                                   std::function<std::string()> editedPage,
                                   const QString& fileName) {
    if (window_ == nullptr || !window_->isVisible()) {
        return;
    }
    window_->ShowTyped(title, typed);
    editedPage_ = std::move(editedPage);
    typedFileName_ = fileName;
    pause_->start();
}

void TPageChecksLink::ShowFixResult(const page_checks::FixPlan& plan) {
    if (window_ != nullptr && window_->isVisible()) {
        window_->ShowFixResult(plan);
    }
}

void TPageChecksLink::CheckTypedPage() {
    if (window_ != nullptr && window_->isVisible() && editedPage_) {
        window_->Refresh(editedPage_(), typedFileName_);
    }
}

}  // namespace velmora
