// vCard text rules (see VCardText.h).
#include "VCardText.h"

namespace exportcore {

namespace {

constexpr std::size_t kFoldOctets = 75;

bool continuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

void appendVCardText(std::string &out, std::string_view value)
{
    // Plain runs go in whole: most values have nothing to escape.
    std::size_t from = 0;
    for (std::size_t i = value.find_first_of("\\,;\r\n"); i != std::string_view::npos;
         i = value.find_first_of("\\,;\r\n", from)) {
        out.append(value.substr(from, i - from));
        const char c = value[i];
        from = i + 1;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && from < value.size() && value[from] == '\n')
                ++from;
            out += "\\n";
        } else {
            out += '\\';
            out += c;
        }
    }
    out.append(value.substr(from));
}

void appendFoldedLine(std::string &out, std::string_view line)
{
    // The first physical line holds 75 octets of the content line, each continuation 74 after
    // its leading space.
    std::size_t room = kFoldOctets;
    while (line.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && continuationByte(line[cut]))
            --cut;
        if (cut == 0) // not UTF-8 at all: a fold anywhere is as good as any
            cut = room;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        room = kFoldOctets - 1;
    }
    out.append(line);
    out += "\r\n";
}

} // namespace exportcore
