#include "site_checks/sitemap_reader.h"

#include <expat.h>

#include <memory>

namespace velmora::site_checks {
namespace {

std::string_view LocalName(const XML_Char* name) {
    const std::string_view whole(name);
    const auto separator = whole.rfind('\x1F');
    return separator == std::string_view::npos ? whole : whole.substr(separator + 1);
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
}

struct ParserDeleter {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

class SitemapParser {
public:
    explicit SitemapParser(bool truncated) : truncated_(truncated) {
        parser_.reset(XML_ParserCreateNS(nullptr, '\x1F'));
        if (!parser_) {
            throw std::bad_alloc();
        }
        XML_Parser parser = parser_.get();
        XML_SetUserData(parser, this);
        XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
        XML_SetElementHandler(parser, &SitemapParser::OnStart, &SitemapParser::OnEnd);
        XML_SetCharacterDataHandler(parser, &SitemapParser::OnText);
        XML_SetStartDoctypeDeclHandler(parser, &SitemapParser::OnDoctype);
        XML_SetEntityDeclHandler(parser, &SitemapParser::OnEntity);
    }

    SitemapDocument Parse(std::string_view bytes) {
        const auto length = static_cast<int>(bytes.size());
        if (XML_Parse(parser_.get(), bytes.data(), length, XML_TRUE) == XML_STATUS_ERROR &&
            !stoppedAtBound_) {
            const auto line = static_cast<std::uint32_t>(XML_GetCurrentLineNumber(parser_.get()));
            if (!refusal_.empty()) {
                throw SitemapError(refusal_, line);
            }
            // A file cut at the size bound ends in the middle of an element: what came before
            // is kept.
            if (!truncated_) {
                throw SitemapError(XML_ErrorString(XML_GetErrorCode(parser_.get())), line);
            }
        }
        if (!sawRoot_ && !truncated_) {
            throw SitemapError("no <urlset> or <sitemapindex> element", 1);
        }
        return std::move(document_);
    }

private:
    static SitemapParser& Self(void* data) { return *static_cast<SitemapParser*>(data); }

    void Refuse(const char* reason) {
        refusal_ = reason;
        XML_StopParser(parser_.get(), XML_FALSE);
    }

    static void XMLCALL OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*,
                                  int) {
        Self(data).Refuse("a sitemap may not hold a document type declaration");
    }

    static void XMLCALL OnEntity(void* data, const XML_Char*, int, const XML_Char*, int,
                                 const XML_Char*, const XML_Char*, const XML_Char*,
                                 const XML_Char*) {
        Self(data).Refuse("a sitemap may not declare entities");
    }

    static void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char**) {
        SitemapParser& self = Self(data);
        const std::string_view local = LocalName(name);
        ++self.depth_;
        if (self.depth_ == 1) {
            if (local != "urlset" && local != "sitemapindex") {
                self.Refuse("the root element is neither <urlset> nor <sitemapindex>");
                return;
            }
            self.sawRoot_ = true;
            self.document_.isIndex = local == "sitemapindex";
            return;
        }
        if (self.depth_ == 3 && local == "loc") {
            self.inLoc_ = true;
            self.text_.clear();
            self.locLine_ =
                static_cast<std::uint32_t>(XML_GetCurrentLineNumber(self.parser_.get()));
        }
    }

    static void XMLCALL OnEnd(void* data, const XML_Char*) {
        SitemapParser& self = Self(data);
        if (self.inLoc_ && self.depth_ == 3) {
            self.inLoc_ = false;
            self.AddLocation();
        }
        --self.depth_;
    }

    static void XMLCALL OnText(void* data, const XML_Char* text, int length) {
        SitemapParser& self = Self(data);
        if (self.inLoc_ && self.text_.size() < 4096) {
            self.text_.append(text, static_cast<std::size_t>(length));
        }
    }

    void AddLocation() {
        if (document_.locations.size() == kSitemapMaximumUrls) {
            document_.warnings.push_back("holds more than " + std::to_string(kSitemapMaximumUrls) +
                                         " URLs; only the first " +
                                         std::to_string(kSitemapMaximumUrls) + " are read");
            stoppedAtBound_ = true;
            XML_StopParser(parser_.get(), XML_FALSE);
            return;
        }
        std::string url = Trimmed(text_);
        if (!url.empty()) {
            document_.locations.push_back({std::move(url), locLine_});
        }
    }

    std::unique_ptr<XML_ParserStruct, ParserDeleter> parser_;
    bool truncated_ = false;
    bool stoppedAtBound_ = false;
    bool sawRoot_ = false;
    int depth_ = 0;
    bool inLoc_ = false;
    std::uint32_t locLine_ = 0;
    std::string text_;
    std::string refusal_;
    SitemapDocument document_;
};

}  // namespace

SitemapDocument ReadSitemap(std::string_view bytes, std::uintmax_t fileSize) {
    const bool truncated = fileSize > kSitemapMaximumBytes;
    bytes = bytes.substr(0, kSitemapMaximumBytes);
    SitemapDocument document = SitemapParser(truncated).Parse(bytes);
    if (truncated) {
        document.warnings.insert(document.warnings.begin(),
                                 "is larger than 50 MB; only its first 50 MB are read");
    }
    return document;
}

}  // namespace velmora::site_checks
