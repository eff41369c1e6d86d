#include "page_checks/text_width.h"

#include <fontconfig/fontconfig.h>
#include <hb.h>

#include <cmath>

namespace velmora::page_checks {

struct TextWidthMeter::Font {
    hb_face_t* face = nullptr;
    hb_font_t* font = nullptr;
    unsigned int unitsPerEm = 0;

    ~Font() {
        hb_font_destroy(font);
        hb_face_destroy(face);
    }
};

namespace {

// A local configuration, so nothing of fontconfig's process-wide state is changed.
struct FcConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct FcPatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};

}  // namespace

std::string TextWidthMeter::FindLiberationSans() {
    const std::unique_ptr<FcConfig, FcConfigDeleter> config(FcInitLoadConfigAndFonts());
    if (!config) {
        return {};
    }
    const std::unique_ptr<FcPattern, FcPatternDeleter> pattern(
        FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans:style=Regular")));
    if (!pattern) {
        return {};
    }
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const std::unique_ptr<FcPattern, FcPatternDeleter> match(
        FcFontMatch(config.get(), pattern.get(), &result));
    if (!match || result != FcResultMatch) {
        return {};
    }
    // fontconfig always offers some font; only Liberation Sans itself measures right.
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    int weight = 0;
    int slant = 0;
    if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch ||
        FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch ||
        FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight) != FcResultMatch ||
        FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant) != FcResultMatch) {
        return {};
    }
    if (std::string_view(reinterpret_cast<const char*>(family)) != "Liberation Sans" ||
        weight != FC_WEIGHT_REGULAR || slant != FC_SLANT_ROMAN) {
        return {};
    }
    return reinterpret_cast<const char*>(file);
}

TextWidthMeter::TextWidthMeter() : TextWidthMeter(FindLiberationSans()) {}

TextWidthMeter::TextWidthMeter(const std::string& fontFile) {
    if (fontFile.empty()) {
        return;
    }
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(fontFile.c_str());
    if (blob == nullptr) {
        return;
    }
    auto font = std::make_unique<Font>();
    font->face = hb_face_create(blob, 0);
    hb_blob_destroy(blob);
    font->unitsPerEm = hb_face_get_upem(font->face);
    if (hb_face_get_glyph_count(font->face) == 0 || font->unitsPerEm == 0) {
        return;
    }
    font->font = hb_font_create(font->face);
    // The default scale is the units per em; immutable objects may be shared between threads.
    hb_face_make_immutable(font->face);
    hb_font_make_immutable(font->font);
    font_ = std::move(font);
    // HarfBuzz fills its default language and the font's shaping tables on first use; doing it
    // here, before any other thread measures, leaves nothing to fill while threads share the font.
    for (const std::string_view sample : {"Aé", "Ωλ"}) {
        [[maybe_unused]] const std::optional<int> width = Width(sample, 20);
    }
}

TextWidthMeter::~TextWidthMeter() = default;

std::optional<int> TextWidthMeter::Width(std::string_view utf8, int pixelSize) const {
    if (!font_) {
        return std::nullopt;
    }
    hb_buffer_t* buffer = hb_buffer_create();
    hb_buffer_add_utf8(buffer, utf8.data(), static_cast<int>(utf8.size()), 0,
                       static_cast<int>(utf8.size()));
    hb_buffer_guess_segment_properties(buffer);
    hb_shape(font_->font, buffer, nullptr, 0);
    unsigned int count = 0;
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
    long long advance = 0;
    for (unsigned int i = 0; i < count; ++i) {
        advance += positions[i].x_advance;
    }
    hb_buffer_destroy(buffer);
    return static_cast<int>(std::llround(static_cast<double>(advance) * pixelSize /
                                         static_cast<double>(font_->unitsPerEm)));
}

}  // namespace velmora::page_checks
