#pragma once

// Link names that say nothing about their target, in the languages of the sites we meet: the
// whole name, lower-cased, white space collapsed, without trailing punctuation and symbols.
// Extend the list here; nothing else names a phrase.

#include <array>
#include <string_view>

namespace velmora::page_checks {

inline constexpr std::array<std::string_view, 86> kGenericLinkPhrases = {
    // English
    "click here",
    "click this",
    "go",
    "here",
    "information",
    "learn more",
    "more",
    "more info",
    "more information",
    "right here",
    "read more",
    "see more",
    "start",
    "this",
    // Spanish
    "click aquí",
    "haga clic aquí",
    "haz clic aquí",
    "aquí",
    "más",
    "más información",
    "leer más",
    "ver más",
    "empezar",
    "esto",
    "información",
    // Portuguese
    "clique aqui",
    "aqui",
    "saiba mais",
    "mais",
    "mais informações",
    "leia mais",
    "veja mais",
    "começar",
    "isto",
    "informação",
    "informações",
    // Swedish
    "klicka här",
    "här",
    "läs mer",
    "mer",
    "mer info",
    "mer information",
    "börja",
    "det här",
    "detta",
    // German
    "hier klicken",
    "hier",
    "mehr",
    "mehr erfahren",
    "weiterlesen",
    "mehr informationen",
    // French
    "cliquez ici",
    "ici",
    "plus",
    "en savoir plus",
    "lire la suite",
    "plus d'informations",
    // Japanese
    "ここをクリック",
    "こちらをクリック",
    "こちら",
    "詳細",
    "詳細はこちら",
    "もっと見る",
    "続きを読む",
    // Korean
    "여기를 클릭",
    "여기",
    "자세히",
    "자세히 보기",
    "더보기",
    "더 보기",
    "시작",
    "이것",
    // Tamil
    "இங்கே",
    "இங்கே கிளிக் செய்யவும்",
    "மேலும் அறிக",
    "மேலும் தகவல்",
    // Persian
    "اینجا",
    "اینجا کلیک کنید",
    "بیشتر",
    "بیشتر بدانید",
    "اطلاعات بیشتر",
    "ادامه مطلب",
    // Chinese
    "点击这里",
    "了解更多",
    "更多",
    "这里",
};

}  // namespace velmora::page_checks
