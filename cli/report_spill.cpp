#include "cli/report_spill.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <type_traits>

namespace velmora::cli {
namespace {

// A field added to one of these must be kept in Transfer below, or a run that compares its
// pages would lose it from their reports: the sizes stand guard.
static_assert(sizeof(PageReport) == 1320, "keep every field of the report in the spill");
static_assert(sizeof(page_checks::PageCheckReport) == 504,
              "keep every field of the checks in the spill");
static_assert(sizeof(page_checks::CheckResult) == 152, "keep every field of a check in the spill");

class Packer {
public:
    std::string bytes;

    void operator()(const std::string& text) {
        (*this)(std::uint64_t{text.size()});
        bytes.append(text);
    }
    void operator()(bool flag) { bytes.push_back(flag ? 1 : 0); }
    template <typename T>
    requires std::is_arithmetic_v<T> || std::is_enum_v<T>
    void operator()(T value) { bytes.append(reinterpret_cast<const char*>(&value), sizeof value); }
    template <typename T>
    void operator()(const std::optional<T>& value) {
        (*this)(value.has_value());
        if (value) {
            (*this)(*value);
        }
    }
    template <typename T>
    void operator()(const std::vector<T>& list) {
        (*this)(std::uint64_t{list.size()});
        for (const T& item : list) {
            (*this)(item);
        }
    }
    void operator()(const page_checks::CheckValue& value) {
        (*this)(static_cast<std::uint8_t>(value.value.index()));
        std::visit(
            [&](const auto& held) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(held)>, std::monostate>) {
                    (*this)(held);
                }
            },
            value.value);
    }
    template <typename T>
    requires std::is_class_v<T>
    void operator()(const T& value) { Transfer(*this, value); }
};

class Unpacker {
public:
    explicit Unpacker(std::string_view bytes) : bytes_(bytes) {}

    void operator()(std::string& text) {
        std::uint64_t size = 0;
        (*this)(size);
        text = std::string(Take(size));
    }
    void operator()(bool& flag) { flag = Take(1)[0] != 0; }
    template <typename T>
    requires std::is_arithmetic_v<T> || std::is_enum_v<T>
    void operator()(T& value) { std::memcpy(&value, Take(sizeof value).data(), sizeof value); }
    template <typename T>
    void operator()(std::optional<T>& value) {
        bool present = false;
        (*this)(present);
        value.reset();
        if (present) {
            (*this)(value.emplace());
        }
    }
    template <typename T>
    void operator()(std::vector<T>& list) {
        std::uint64_t size = 0;
        (*this)(size);
        list.clear();
        for (std::uint64_t i = 0; i < size; ++i) {
            (*this)(list.emplace_back());
        }
    }
    void operator()(page_checks::CheckValue& value) {
        std::uint8_t index = 0;
        (*this)(index);
        switch (index) {
            case 0:
                value.value = std::monostate();
                break;
            case 1:
                Read<bool>(value);
                break;
            case 2:
                Read<std::int64_t>(value);
                break;
            case 3:
                Read<std::string>(value);
                break;
            case 4:
                Read<page_checks::CheckValue::List>(value);
                break;
            case 5:
                Read<page_checks::CheckValue::Object>(value);
                break;
            default:
                throw std::runtime_error("a kept report is damaged");
        }
    }
    template <typename T>
    requires std::is_class_v<T>
    void operator()(T& value) { Transfer(*this, value); }

    bool AtEnd() const { return bytes_.empty(); }

private:
    template <typename T>
    void Read(page_checks::CheckValue& value) {
        T held{};
        (*this)(held);
        value.value = std::move(held);
    }

    std::string_view Take(std::uint64_t size) {
        if (size > bytes_.size()) {
            throw std::runtime_error("a kept report is damaged");
        }
        const std::string_view taken = bytes_.substr(0, size);
        bytes_.remove_prefix(size);
        return taken;
    }

    std::string_view bytes_;
};

// Each type's fields, for packing (T const) and unpacking alike.
template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, TextPosition>
void Transfer(A& a, T& value) {
    a(value.line);
    a(value.column);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, Finding>
void Transfer(A& a, T& value) {
    a(value.kind);
    a(value.advice);
    a(value.title);
    a(value.position);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, KeywordDetail>
void Transfer(A& a, T& value) {
    a(value.keyword);
    a(value.occurrences);
    a(value.good);
    a(value.duplicate);
    a(value.score);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, GoodCandidate>
void Transfer(A& a, T& value) {
    a(value.text);
    a(value.occurrences);
    a(value.isKeyword);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, page_checks::CheckField>
void Transfer(A& a, T& value) {
    a(value.name);
    a(value.value);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, page_checks::CheckedElement>
void Transfer(A& a, T& value) {
    a(value.offset);
    a(value.position);
    a(value.text);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, page_checks::CheckResult>
void Transfer(A& a, T& value) {
    a(value.id);
    a(value.state);
    a(value.message);
    a(value.values);
    a(value.element);
    a(value.listed);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, page_checks::CheckSummary>
void Transfer(A& a, T& value) {
    a(value.problem);
    a(value.improve);
    a(value.good);
    a(value.info);
}

// The site facts are not kept: the report's site object was made from them.
template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, page_checks::PageCheckReport>
void Transfer(A& a, T& value) {
    a(value.checks);
    a(value.summary);
    a(value.title);
    a(value.description);
    a(value.titleElement);
    a(value.descriptionElement);
    a(value.role);
    a(value.redirectTarget);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, site_checks::PageLink>
void Transfer(A& a, T& value) {
    a(value.href);
    a(value.to);
    a(value.fragment);
    a(value.line);
    a(value.column);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, site_checks::PageAddress>
void Transfer(A& a, T& value) {
    a(value.href);
    a(value.to);
    a(value.line);
    a(value.column);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, site_checks::PageAlternate>
void Transfer(A& a, T& value) {
    a(value.hreflang);
    a(value.address);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, site_checks::PageSite>
void Transfer(A& a, T& value) {
    a(value.path);
    a(value.links);
    a(value.ids);
    a(value.canonical);
    a(value.alternates);
    a(value.redirect);
    a(value.noindex);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, LineSuppression>
void Transfer(A& a, T& value) {
    a(value.line);
    a(value.rule);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, Suppressions>
void Transfer(A& a, T& value) {
    a(value.pageRules);
    a(value.lineRules);
    a(value.warnings);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, PageReport>
void Transfer(A& a, T& value) {
    a(value.file);
    a(value.encoding);
    a(value.title);
    a(value.description);
    a(value.keywordsText);
    a(value.keywords);
    a(value.goodKeywords);
    a(value.badKeywords);
    a(value.optimalOrder);
    a(value.duplicateKeywords);
    a(value.spammedWord);
    a(value.lineBreakInDescription);
    a(value.spaceToRemove);
    a(value.wordCount);
    a(value.rating);
    a(value.ratingText);
    a(value.findings);
    a(value.keywordDetails);
    a(value.goodCandidates);
    a(value.autoKeywords);
    a(value.asciiOnly);
    a(value.lineBreak);
    a(value.checks);
    a(value.site);
    a(value.suppressions);
    a(value.suppressed);
    a(value.baselined);
    a(value.findingsFiltered);
    a(value.filteredChecks);
}

template <typename A, typename T>
requires std::is_same_v<std::remove_const_t<T>, ReviewedPage>
void Transfer(A& a, T& value) {
    a(value.report);
    a(value.problem);
    a(value.failed);
    a(value.output);
}

std::runtime_error SpillError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

std::string PackedPage(const ReviewedPage& page) {
    Packer packer;
    packer(page);
    return std::move(packer.bytes);
}

ReviewedPage UnpackedPage(std::string_view bytes) {
    Unpacker unpacker(bytes);
    ReviewedPage page;
    unpacker(page);
    if (!unpacker.AtEnd()) {
        throw std::runtime_error("a kept report is damaged");
    }
    return page;
}

ReportSpill::ReportSpill() {
    const char* folder = std::getenv("TMPDIR");
    std::string name = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                       "/velmora-pages.XXXXXX";
    file_ = ::mkstemp(name.data());
    if (file_ < 0) {
        throw SpillError("cannot keep the pages' reports in " + name);
    }
    // Unnamed at once: nothing is left behind, however the run ends.
    ::unlink(name.c_str());
}

ReportSpill::~ReportSpill() {
    ::close(file_);
}

ReportSpill::Place ReportSpill::Write(const ReviewedPage& page) {
    const std::string bytes = PackedPage(page);
    const Place place{end_, bytes.size()};
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t n = ::pwrite(file_, bytes.data() + written, bytes.size() - written,
                                   static_cast<off_t>(end_ + written));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw SpillError("cannot keep a page's report in a temporary file");
        }
        written += static_cast<std::size_t>(n);
    }
    end_ += bytes.size();
    return place;
}

ReviewedPage ReportSpill::Read(Place place) const {
    std::string bytes(place.size, '\0');
    for (std::size_t read = 0; read < bytes.size();) {
        const ssize_t n = ::pread(file_, bytes.data() + read, bytes.size() - read,
                                  static_cast<off_t>(place.offset + read));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw SpillError("cannot read a page's report back from its temporary file");
        }
        read += static_cast<std::size_t>(n);
    }
    return UnpackedPage(bytes);
}

}  // namespace velmora::cli
