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
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
        case '\\':
        case ',':
        case ';':
            out += '\\';
            out += c;
            break;
        case '\r':
            if (i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
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
