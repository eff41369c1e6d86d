// The desktop program: opens the page named on the command line (or asks for one) and runs
// until the main window closes.

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "document/velmora_data.h"
#include "ui/about_box.h"
#include "ui/application_title.h"
#include "ui/change_keywords_form.h"
#include "ui/edit_text_form.h"
#include "ui/file_keywords.h"
#include "ui/mdi.h"
#include "ui/message_box_prompt.h"
#include "ui/progress_message_form.h"
#include "ui/theme.h"

int main(int argc, char* argv[]) {
    using namespace velmora;

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
