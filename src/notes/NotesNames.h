// SPDX-License-Identifier: GPL-3.0-or-later
// What the export makes of the names and addresses Notes keeps: which value is an Internet
// address, and how a hierarchical Notes name reads outside Notes. Qt-free.
//
// - An Internet address is local@domain with nothing around it: one "@", a local part without
//   spaces, slashes or angle brackets, and a domain of at least two dot-separated labels of
//   letters, digits and hyphens. "Ann Lee/Sales/Acme@Acme" (a Notes routing address) is not one,
//   nor is any other value with an "@" that breaks these rules.
// - A canonical Notes name is CN=.../OU=.../O=.../C=... (the components named ignoring case, CN
//   first). Its common name is the CN component; its abbreviated form is the components'
//   values joined by "/", as Notes shows it ("CN=Ann Lee/OU=Sales/O=Acme" reads
//   "Ann Lee/Sales/Acme"). Any other value is left as it stands.
#pragma once

#include "notes/ItemValue.h"

#include <string>
#include <string_view>
#include <vector>

namespace notes {

bool isInternetAddress(std::string_view value);

bool isCanonicalName(std::string_view value);
// The CN component of a canonical name; any other value unchanged.
std::string commonName(std::string_view value);
// The abbreviated form of a canonical name; any other value unchanged.
std::string abbreviatedName(std::string_view value);
// The form two names are matched in: abbreviated, lower case in ASCII, spaces around each "/"
// removed.
std::string nameKey(std::string_view value);

// The addresses of a Person document from its MailAddress and InternetAddress values (each
// value trimmed, empty ones dropped).
struct ContactAddresses {
    // Every distinct Internet address (ignoring case): MailAddress's first, then
    // InternetAddress's. The first is the contact's address.
    std::vector<std::string> internet;
    // MailAddress values without any "@": text some books keep there, written as it stands.
    std::vector<std::string> plain;
    // Values with an "@" that are no Internet address (Notes routing addresses): never written
    // where an Internet address belongs.
    std::vector<std::string> routing;
    // The one address a single-address field takes: the first Internet address, else the first
    // plain value, else "".
    std::string primary() const;
};

ContactAddresses contactAddresses(const ItemValues &mailAddress, const ItemValues &internetAddress);

} // namespace notes
