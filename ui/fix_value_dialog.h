#pragma once

// The small dialog a Fix button opens when a fix needs a value the page cannot tell: the web
// address of the page's folder, the page's language or the address of its sharing image. OK
// waits for a valid value; "Remember for this site" keeps it for every page of the site.

#include <QDialog>
#include <QString>
#include <optional>
#include <string>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace velmora {

enum class FixValue { Address, Language, Image };

struct FixValueAnswer {
    std::string value;  // UTF-8, trimmed
    bool remember = false;
};

// Why `typed` is no value of its kind; empty when it is one.
QString FixValueRefusal(FixValue kind, const QString& typed);

class TFixValueDialog : public QDialog {
    Q_OBJECT

public:
    // `siteFolder` is where a remembered value is kept, named in the check box's hint.
    TFixValueDialog(FixValue kind, const QString& siteFolder, QWidget* parent = nullptr);

    FixValueAnswer Answer() const;

    QLineEdit* Value;
    QCheckBox* Remember;

private:
    void Validate();

    FixValue kind_;
    QLabel* note_;
    QDialogButtonBox* buttons_;
};

// Runs the dialog; nothing when it was cancelled.
std::optional<FixValueAnswer> AskFixValue(QWidget* parent, FixValue kind,
                                          const QString& siteFolder);

}  // namespace velmora
