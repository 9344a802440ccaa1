// SPDX-License-Identifier: GPL-3.0-or-later
// gen_dxl_book N FILE: writes a DXL address book of N invented Person documents, the same file
// for the same N, for the scan benchmarks. Each document looks like a real export: note info,
// the 42 items the program reads plus the administrative items a Domino directory carries
// (55 items, some 3.3 KB per document), with multi-valued, date and number items among
// them; every 250th document is a Group, which the "$People" view must leave out.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class Random final {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    template <std::size_t N> const char *pick(const char *const (&list)[N])
    {
        return list[below(N)];
    }

private:
    std::uint64_t m_state;
};

const char *const kFirst[] = {"Ann",    "Bruno", "Carla", "Dmitri", "Elena", "Farid",  "Greta",
                              "Hiro",   "Ines",  "Jonas", "Katya",  "Lars",  "Mina",   "Nuno",
                              "Olga",   "Pavel", "Quinn", "Rosa",   "Sven",  "Tomasz", "Ulla",
                              "Viktor", "Wanda", "Xenia", "Yusuf",  "Zora",  "élodie", "Øystein",
                              "María",  "Çağla", "Åsa",   "Luís",   "Noor",  "Tariq"};
const char *const kLast[] = {"Abbott",  "Berg",     "Castillo", "Dahl",    "Eriksen",  "Ferreira",
                             "Gupta",   "Holm",     "Ivanova",  "Jansen",  "Kowalski", "Lindqvist",
                             "Moreau",  "Nakamura", "Okafor",   "Petrov",  "Quist",    "Rossi",
                             "Schmidt", "Tanaka",   "Ueda",     "Varga",   "Weber",    "Xu",
                             "Yilmaz",  "Zimmer",   "de Vries", "O'Neill", "van Dijk", "Ólafsson"};
const char *const kCompany[] = {"Brightwater Instruments", "Calloway & Finch",  "Dunmore Logistics",
                                "Elmstead Foods",          "Fernhill Software", "Glasswing Media",
                                "Harrowgate Insurance",    "Ironbark Mining"};
const char *const kCity[] = {"Riverton",  "Lakeside", "Northwick",   "Easton",
                             "Millbrook", "Ashford",  "Greenhollow", "Stonebridge"};
const char *const kJob[] = {"Engineer", "Accountant", "Sales Manager", "Buyer",
                            "Designer", "Consultant", "Director",      "Clerk"};
const char *const kCategory[] = {"Customers", "Suppliers", "Friends", "Family", "Press", "VIP"};

// `digits` 0 gives as many digits as the value needs, as note ids are written.
std::string hex(std::uint64_t value, int digits)
{
    if (digits == 0)
        for (std::uint64_t v = value; v != 0 || digits == 0; v >>= 4)
            ++digits;
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return out;
}

std::string escaped(const std::string &text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

class Writer final {
public:
    explicit Writer(std::FILE *file) : m_file(file) {}
    void raw(const std::string &s) { std::fwrite(s.data(), 1, s.size(), m_file); }
    void text(const char *name, const std::string &value)
    {
        if (value.empty()) {
            raw("<item name='" + std::string(name) + "'><text/></item>\n");
            return;
        }
        raw("<item name='" + std::string(name) + "'><text>" + escaped(value) + "</text></item>\n");
    }
    void names(const char *name, const std::string &value)
    {
        raw("<item name='" + std::string(name) + "' names='true'><text>" + escaped(value) +
            "</text></item>\n");
    }
    void list(const char *name, const std::string &a, const std::string &b)
    {
        raw("<item name='" + std::string(name) + "'><textlist><text>" + escaped(a) +
            "</text><text>" + escaped(b) + "</text></textlist></item>\n");
    }
    void date(const char *name, const std::string &value)
    {
        raw("<item name='" + std::string(name) + "'><datetime>" + value + "</datetime></item>\n");
    }
    void number(const char *name, long value)
    {
        raw("<item name='" + std::string(name) + "'><number>" + std::to_string(value) +
            "</number></item>\n");
    }

private:
    std::FILE *m_file;
};

std::string phone(Random &r)
{
    return "+1 555 " + std::to_string(100 + r.below(900)) + " " +
           std::to_string(1000 + r.below(9000));
}

std::string stamp(Random &r)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "20%02zu%02zu%02zuT%02zu%02zu%02zu,%02zu-05", 5 + r.below(18),
                  1 + r.below(12), 1 + r.below(28), r.below(24), r.below(60), r.below(60),
                  r.below(100));
    return buf;
}

void person(Writer &w, Random &r, std::uint64_t n)
{
    const std::string first = r.pick(kFirst);
    const std::string last = r.pick(kLast);
    const std::string middle =
        r.below(3) == 0 ? std::string(1, static_cast<char>('A' + r.below(26))) : std::string();
    const std::string company = r.pick(kCompany);
    const std::string user = first + "." + last + std::to_string(n);
    const std::string domain = "example.com";
    const std::string unid = hex(r.next(), 16) + hex(r.next(), 16);
    w.raw("<document form='Person'>\n<noteinfo noteid='" + hex(0x1000 + n * 4, 0) + "' unid='" +
          unid + "' sequence='" + std::to_string(1 + r.below(9)) + "'>\n<created><datetime>" +
          stamp(r) + "</datetime></created>\n<modified><datetime>" + stamp(r) +
          "</datetime></modified>\n<revised><datetime>" + stamp(r) +
          "</datetime></revised></noteinfo>\n");
    w.text("Form", "Person");
    w.text("Type", "Person");
    w.text("FirstName", first);
    w.text("MiddleInitial", middle);
    w.text("LastName", last);
    w.text("Suffix", r.below(10) == 0 ? "Jr." : "");
    w.text("Title", r.below(4) == 0 ? "Dr." : "");
    w.list("FullName", "CN=" + first + " " + last + "/O=Example", first + " " + last);
    w.text("MailAddress", user + "@" + domain);
    w.text("InternetAddress", user + "@" + domain);
    w.text("CompanyName", company);
    w.text("JobTitle", r.pick(kJob));
    w.text("OfficeStreetAddress", std::to_string(1 + r.below(400)) + " Commerce Way, Suite " +
                                      std::to_string(100 + r.below(800)));
    w.text("OfficeCity", r.pick(kCity));
    w.text("OfficeZip", std::to_string(10000 + r.below(89999)));
    w.text("OfficeState", "NA");
    w.text("OfficeCountry", "Examplia");
    w.text("Location", "Building " + std::to_string(1 + r.below(9)));
    w.text("WebSite", "https://www.example.org/" + user);
    w.text("Department", "Dept " + std::to_string(r.below(40)));
    w.text("Manager", "CN=" + std::string(r.pick(kFirst)) + " " + r.pick(kLast) + "/O=Example");
    w.text("Assistant", r.below(2) ? std::string(r.pick(kFirst)) + " " + r.pick(kLast) : "");
    w.text("OfficePhoneNumber", phone(r));
    w.text("OfficeFAXPhoneNumber", phone(r));
    w.text("CellPhoneNumber", phone(r));
    w.text("PhoneNumber_6", r.below(3) == 0 ? phone(r) : "");
    w.text("MiscPhone1", r.below(2) ? user + "@example.org" : "");
    w.text("MiscPhone2", "");
    w.text("MiscPhone3", "");
    w.text("StreetAddress", std::to_string(1 + r.below(200)) + " Elm Street");
    w.text("City", r.pick(kCity));
    w.text("Zip", std::to_string(10000 + r.below(89999)));
    w.text("State", "NA");
    w.text("Country", "Examplia");
    w.text("Spouse", r.below(2) ? r.pick(kFirst) : "");
    w.text("Children", r.below(3) == 0 ? std::string(r.pick(kFirst)) + ", " + r.pick(kFirst) : "");
    w.text("PhoneNumber", phone(r));
    w.text("HomeFAXPhoneNumber", "");
    w.text("PersPager", r.below(4) == 0 ? phone(r) : "");
    char day[16];
    std::snprintf(day, sizeof day, "19%02zu%02zu%02zu", 40 + r.below(60), 1 + r.below(12),
                  1 + r.below(28));
    w.date("Birthday", day);
    w.date("Anniversary", stamp(r));
    w.text("Comment", r.below(3) == 0 ? "Met at the " + std::string(r.pick(kCity)) +
                                            " fair; \"no calls\" before 10."
                                      : std::string());
    // Texts are built by appending: "literal" + a temporary string draws a false -Wrestrict from
    // GCC 12 at -O3.
    std::string shortName = "u";
    shortName += std::to_string(n);
    w.text("ShortName", shortName);
    w.text("AltFullNameSort", last + " " + first);
    w.text("MailDomain", "EXAMPLE");
    w.list("Categories", r.pick(kCategory), r.pick(kCategory));
    // What a Domino directory adds to a Person document besides the contact fields.
    w.text("MailSystem", "1");
    std::string server = "CN=Mail";
    server += std::to_string(1 + r.below(4));
    server += "/O=Example";
    w.names("MailServer", server);
    w.text("MailFile", "mail/" + shortName);
    w.names("Owner", "CN=" + first + " " + last + "/O=Example");
    w.names("LocalAdmin", "CN=Directory Admin/O=Example");
    w.text("ClientType", "0");
    w.number("MessageStorage", static_cast<long>(r.below(3)));
    std::string password = "(";
    password += hex(r.next(), 16);
    password += ")";
    w.text("HTTPPassword", password);
    w.date("HTTPPasswordChangeDate", stamp(r));
    w.raw("</document>\n");
}

void group(Writer &w, Random &r, std::uint64_t n)
{
    w.raw("<document form='Group'>\n<noteinfo noteid='" + hex(0x1002 + n * 4, 0) + "' unid='" +
          hex(r.next(), 16) + hex(r.next(), 16) + "'/>\n");
    w.text("Form", "Group");
    w.text("Type", "Group");
    w.text("ListName", "Team " + std::to_string(n));
    w.list("Members", "CN=" + std::string(r.pick(kFirst)) + " " + r.pick(kLast) + "/O=Example",
           "CN=" + std::string(r.pick(kFirst)) + " " + r.pick(kLast) + "/O=Example");
    w.raw("</document>\n");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s N OUT.dxl\n", argv[0]);
        return 2;
    }
    const std::uint64_t count = std::strtoull(argv[1], nullptr, 10);
    std::FILE *file = std::fopen(argv[2], "wb");
    if (!file) {
        std::perror(argv[2]);
        return 1;
    }
    Writer w(file);
    Random r(0x5EED2004u);
    w.raw("<?xml version='1.0' encoding='utf-8'?>\n<!DOCTYPE database>\n"
          "<database xmlns='http://www.lotus.com/dxl' version='8.5' title='Generated Directory (" +
          std::to_string(count) + " people)' path='names.nsf'>\n");
    w.raw("<databaseinfo dbid='" + hex(r.next(), 16) + "' odsversion='51'/>\n");
    for (std::uint64_t n = 0; n < count; ++n) {
        person(w, r, n);
        if (n % 250 == 249)
            group(w, r, n);
    }
    w.raw("</database>\n");
    if (std::fclose(file) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
