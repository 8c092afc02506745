#include "app/text/RtfDestinations.h"

#include <algorithm>
#include <iterator>

bool IsNonTextDestination(std::string_view word)
{
    static constexpr std::string_view destinations[] = {
        "author",    "buptim",     "colortbl", "comment",  "creatim",
        "doccomm",   "docvar",     "falt",     "fldinst",  "fonttbl",
        "footer",    "footerf",    "footerl",  "footerr",  "footnote",
        "ftncn",     "ftnsep",     "ftnsepc",  "header",   "headerf",
        "headerl",   "headerr",    "info",     "keywords", "listoverridetable",
        "listtable", "nonshppict", "object",   "operator", "panose",
        "pict",      "pn",         "pnseclvl", "printim",  "revtbl",
        "revtim",    "rsidtbl",    "rxe",      "shp",      "stylesheet",
        "subject",   "tc",         "template", "title",    "txe",
        "xe",        "xmlnstbl",
    };
    return std::find(std::begin(destinations), std::end(destinations), word) !=
           std::end(destinations);
}
