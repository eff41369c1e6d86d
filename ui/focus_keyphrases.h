#pragma once

// The focus keyphrase the user typed for a page, kept with the settings (group
// "FocusKeyphrases") under the page's canonical file path, so a page keeps its keyphrase however
// it is opened.

#include <QString>

namespace velmora {

class TFocusKeyphrases {
public:
    // The stored keyphrase of the page at `path`; empty when none was typed.
    static QString Load(const QString& path);
    // An empty keyphrase removes the entry. Throws SettingsError when the store refuses it.
    static void Save(const QString& path, const QString& keyphrase);
};

}  // namespace velmora
