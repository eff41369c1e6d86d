// The desktop program: opens the page named on the command line (or asks for one) and runs
// until the main window closes.

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <string_view>

#include "document/velmora_data.h"
#include "ui/about_box.h"
#include "ui/application_title.h"
#include "ui/application_version.h"
#include "ui/change_keywords_form.h"
#include "ui/edit_text_form.h"
#include "ui/file_keywords.h"
#include "ui/mdi.h"
#include "ui/message_box_prompt.h"
#include "ui/progress_message_form.h"
#include "ui/theme.h"

namespace {

constexpr std::string_view kHelp =
    "Usage: velmora [PAGE]\n"
    "Opens PAGE (a path or a file:// URL) to review and edit its title, description and\n"
    "keywords, or asks for a page.\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "      --version  print the version and exit\n"
    "\n"
    "Qt's own options, such as -platform, are accepted too. velmora-cli does the same from the\n"
    "command line, without a display. See velmora(1).\n";

// --help and --version answer on standard output before Qt looks for a display, so they work
// on a machine without one. -1 when the program is to start.
int AnswerWithoutDisplay(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help") {
            std::fwrite(kHelp.data(), 1, kHelp.size(), stdout);
        } else if (argument == "--version") {
            std::printf("velmora %s (build %u)\n",
                        velmora::ProductVersionText().toUtf8().constData(),
                        static_cast<unsigned>(velmora::GetApplicationVersion().Build));
        } else {
            continue;
        }
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace velmora;

    if (const int answered = AnswerWithoutDisplay(argc, argv); answered >= 0) {
        return answered;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setWindowIcon(ApplicationIcon());
    ApplyTheme(LoadTheme());

    try {
        MessageBoxPrompt prompt;
        TMDIForm frame;
        TProgressForm progress(&frame);
        TChangeKeywords changeKeywords(prompt, progress, &frame);
        TEditText editText(&frame);
        TAboutBox aboutBox(prompt, OpenUrlWithDesktop, &frame);
        KelVelmoraData document;

        auto* form = new TKeywordsForm(prompt, changeKeywords, editText, aboutBox);
        frame.Embed(form);
        if (!form->Prime(&document, &frame.Control, QApplication::arguments())) {
            return 0;
        }
        frame.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        // Only start-up can get here: every command catches its own errors.
        QMessageBox::critical(nullptr, ApplicationTitle(), QString::fromUtf8(error.what()));
        return 1;
    }
}
