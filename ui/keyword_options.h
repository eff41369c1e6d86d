#pragma once

// The options dialog: edits a copy of the file window's settings, writes it on closing and hands
// it back.

#include <QDialog>

#include "options/page_check_options.h"
#include "options/saveable_velmora_options.h"
#include "options/velmora_types.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QSpinBox;
class QTabWidget;

namespace velmora {

class Prompt;
class TPageCheckOptionsPage;

class TKeywordsOptionsForm : public QDialog {
    Q_OBJECT

public:
    explicit TKeywordsOptionsForm(Prompt& prompt, QWidget* parent = nullptr);

    // Edits a copy of both settings from now on; takes the snapshot that Cancel and Reset go
    // back to and brings the Meta Tags page to the front.
    void Prime(const KelVelmoraOptions& options, const PageCheckOptions& pageChecks);
    // The settings as the dialog closed with them, which it has written to the store: the
    // edits after Apply, the snapshot after Cancel.
    const KelVelmoraOptions& Edited() const { return Options; }
    PageCheckOptions PageChecks() const;
    // Shows the settings as they stand; changes none but clamping to the fields' ranges and
    // keeping each minimum below its maximum.
    void UpdateDisplay();

    QTabWidget* PageControl;
    QWidget* MetaTagsTabSheet;
    QWidget* CompressTabSheet;
    // Edits the stored page-check settings; Apply writes them, Cancel leaves them.
    TPageCheckOptionsPage* PageChecksTabSheet;

    QSpinBox* EditRecMinKeywords;
    QSpinBox* EditRecMaxKeywords;
    QSpinBox* EdtMaxKeywordCount;
    QSpinBox* EditMinimumKeywordCount;
    QSpinBox* EditMaximumKeywordCount;
    QSpinBox* EditKeywordInEvery;
    QRadioButton* RadioCaseSensitive;
    QRadioButton* RadioCaseInsensitiveMixed;
    QRadioButton* RadioCaseInsensitiveLower;
    QPushButton* ResetButton;
    QPushButton* DefaultButton;

    QCheckBox* chkEnableCompression;
    QCheckBox* chkWarnOnCompress;
    QRadioButton* optCompactAlways;
    QRadioButton* optCompactSometimes;
    QRadioButton* optCompactNever;

    QPushButton* CloseButton;
    QPushButton* CancelButton;

public slots:
    void CloseButtonClick();
    void CancelButtonClick();
    void ResetButtonClick();
    void DefaultButtonClick();
    void MinimumKeywordCountOnChange();
    void EditMaximumKeywordCountChange();
    void EditRecMinKeywordsChange();
    void EditRecMaxKeywordsChange();
    void EdtMaxKeywordCountChange();
    void EditKeywordInEveryChange();
    void RadioCaseSensitiveClick();
    void RadioCaseInsensitiveMixedClick();
    void RadioCaseInsensitiveLowerClick();
    void chkEnableCompressionClick();
    void chkWarnOnCompressClick();
    void optCompactAlwaysClick();
    void optCompactSometimesClick();
    void optCompactNeverClick();

protected:
    void showEvent(QShowEvent* event) override;
    // Every closing writes the settings.
    void done(int result) override;
    // Esc and Cancel restore the snapshot.
    void reject() override;
    // The close box acts as Apply.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildMetaTagsPage();
    QGroupBox* BuildRecommendedGroup(QWidget* page);
    QGroupBox* BuildIdentificationGroup(QWidget* page);
    QGroupBox* BuildCaseGroup(QWidget* page);
    void ConnectMetaTagsPage();
    QWidget* BuildCompressPage();
    void SetKeywordCase(KeywordCaseMode keywordCase);
    // Ticks the boxes, stores both flags and moves the radio button to match.
    void SetCompression(bool enabled, bool warn);
    void ShowCompression();
    // False when the store refused the write (the error has been shown).
    bool SaveSettings();
    void SavePageCheckSettings();

    Prompt& prompt_;
    bool primed_ = false;
    KelSaveableVelmoraOptions Options;
    KelVelmoraOptions SavedOptions;
};

}  // namespace velmora
