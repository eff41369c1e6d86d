#include "page_checks/check_guidance.h"

#include <array>
#include <cstddef>

namespace velmora::page_checks {
namespace {

// In CheckId order.
constexpr auto kGuidance = std::to_array<CheckGuidance>({
    {"The title is the blue link of a search result and the name of the browser tab. Result "
     "pages cut a title wider than about 600 px, and a missing title leaves the search engine "
     "to make one up.",
     "Write one <title> of 30 to 60 characters that names what the page offers, its most "
     "important words first."},
    {"The description is often the grey text under the link of a result. A good one makes "
     "people click; without one the search engine picks a sentence from the page.",
     "Add one <meta name=\"description\" content=\"…\"> of 70 to 160 characters that sums the "
     "page up for a reader."},
    {"A page marked noindex is left out of search results altogether; nofollow stops search "
     "engines from following its links.",
     "Remove noindex (and none) from <meta name=\"robots\"> unless the page must stay out of "
     "search results."},
    {"The canonical URL tells search engines which address to show when a page can be reached "
     "under several. Conflicting or relative canonicals are ignored or misread.",
     "Give one <link rel=\"canonical\" href=\"https://…\"> with the page's full address."},
    {"The page's language helps search engines show it to people who read that language, and "
     "helps screen readers pronounce it.",
     "Set a valid language tag on the html element, such as <html lang=\"en\">."},
    {"A character set that disagrees with the bytes turns accented letters into garbage in "
     "results and in browsers.",
     "Declare the encoding the file is saved in, preferably <meta charset=\"utf-8\"> with the "
     "file saved as UTF-8."},
    {"Search engines rank pages for phones by how they read on a phone; without a viewport a "
     "phone shows the page as a tiny desktop page.",
     "Add <meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"> to the "
     "head."},
    {"Social networks and messengers build their link previews from the Open Graph tags; "
     "without them a shared link shows no picture or the wrong text.",
     "Add og:title, og:description and og:image meta tags (and twitter:card for a large "
     "picture)."},
    {"Language versions tell search engines which translation to show to whom. A malformed "
     "value makes them ignore the whole set.",
     "Give each alternate a valid language (and region) code and an absolute URL, plus one "
     "x-default."},
    {"Structured data lets search engines show rich results (ratings, prices, recipes). JSON "
     "that does not parse is ignored entirely.",
     "Fix the JSON of each <script type=\"application/ld+json\"> and give it @context and "
     "@type."},
    {"The main heading tells readers and search engines what the page is about at a glance.",
     "Give the page exactly one <h1> with text that matches the title's subject."},
    {"Heading levels are the outline of the page; skipped levels confuse screen readers and "
     "blur the page's structure.",
     "Go down one level at a time (h2 under h1, h3 under h2); style headings with CSS, not "
     "with their level."},
    {"Search engines read images through their alt text, and screen readers speak it; an image "
     "without alt is invisible to both.",
     "Give every <img> an alt text that says what it shows, or alt=\"\" for a decorative "
     "image."},
    {"Link texts tell search engines and screen-reader users where a link goes; \"click here\" "
     "says nothing, and links without an href cannot be followed.",
     "Name each link by its destination (\"our opening hours\") and give it a real href."},
    {"Pages with little text rarely rank: there is too little for a search engine to match a "
     "query against.",
     "Write at least 300 words that answer what a visitor came for."},
    {"The focus keyphrase is what people type to find the page. Search engines weigh the title, "
     "the description, the main heading and the opening words most.",
     "Use the keyphrase in the title, the description, the <h1>, the first paragraph and the "
     "file name."},
    {"The review and the editor find the title and meta tags by text search. A tag in a "
     "comment, a script or the body that comes first is what they rate and what an edit "
     "changes, while browsers and search engines read the page's own.",
     "Remove the stray tag, or put the page's own <title> and meta tags in the head before "
     "it."},
    {"Pages with the same title compete with each other in results, and readers cannot tell "
     "them apart.",
     "Give each page a title of its own."},
    {"Pages with the same description look alike in results, so search engines often replace "
     "the text.",
     "Give each page a description of its own."},
    {"A link to a page that does not exist leads readers and crawlers to a dead end, and "
     "wastes the attention search engines give the site.",
     "Correct each link's address, or remove the link."},
    {"A link to a #fragment that no element carries as its id lands at the top of the page "
     "instead of the place meant.",
     "Give the target element the id the link names, or correct the link."},
    {"A canonical URL that leads nowhere, or to a page that is not indexed, tells search "
     "engines to show a page they cannot show.",
     "Point the canonical link at an existing, indexable page, usually the page itself."},
    {"Language versions count only when each version links back to the others; one-way links "
     "are ignored.",
     "Give every language version the same set of hreflang links, itself included."},
    {"A page no other page links to is hard for crawlers to find and carries little weight.",
     "Link to the page from related pages or from the site's navigation."},
    {"The sitemap tells search engines which pages exist; listing pages that are missing, "
     "redirected or not indexed confuses them.",
     "List every indexable page in the sitemap, and only those."},
    {"robots.txt rules that block a page stop search engines from reading it, even when the "
     "page is meant to be found.",
     "Remove the Disallow rule that covers the page, unless it must stay unread."},
});
static_assert(kGuidance.size() == kCheckCount, "every check has its guidance");

}  // namespace

const CheckGuidance& GuidanceFor(CheckId id) {
    return kGuidance[static_cast<std::size_t>(id)];
}

}  // namespace velmora::page_checks
