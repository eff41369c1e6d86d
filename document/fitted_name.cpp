#include "document/fitted_name.h"

#include <sys/random.h>
#include <sys/statfs.h>

#include <chrono>

#include "core/text_rules.h"

namespace velmora {

std::size_t NameLimit(int folder) {
    struct statfs system {};
    if (::fstatfs(folder, &system) == 0 && system.f_namelen > 0) {
        return static_cast<std::size_t>(system.f_namelen);
    }
    return 255;
}

std::string_view CutToFit(std::string_view text, std::size_t size) {
    if (text.size() <= size) {
        return text;
    }
    std::size_t cut = size;
    if (DetectEncoding(text) == Encoding::Utf8) {
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
    }
    return text.substr(0, cut);
}

void FillRandomName(char* letters, std::size_t count) {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[32]{};
    if (count > sizeof random || ::getrandom(random, count, 0) != static_cast<ssize_t>(count)) {
        // Unpredictable enough where getrandom is missing: creation is exclusive either way.
        auto seed =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        for (std::size_t i = 0; i < count && i < sizeof random; ++i) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            random[i] = static_cast<unsigned char>(seed >> 56);
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        letters[i] = kLetters[random[i % sizeof random] % kLetters.size()];
    }
}

}  // namespace velmora
