// SPDX-License-Identifier: GPL-3.0-or-later
// Names and addresses (see NotesNames.h).
#include "notes/NotesNames.h"

#include "notes/Ascii.h"

#include <algorithm>

namespace notes {

namespace {

using ascii::trimmed;

bool isLabelCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The components of a canonical name, each "KEY=value", split at "/"; empty when the value is
// no canonical name.
std::vector<std::string_view> canonicalComponents(std::string_view value)
{
    std::vector<std::string_view> parts;
    value = trimmed(value);
    while (true) {
        const std::size_t slash = value.find('/');
        parts.push_back(trimmed(value.substr(0, slash)));
        if (slash == std::string_view::npos)
            break;
        value.remove_prefix(slash + 1);
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        const std::size_t equals = part.find('=');
        const std::string_view key = equals == std::string_view::npos ? "" : part.substr(0, equals);
        const bool known = i == 0 ? ascii::equalIgnoringCase(key, "CN")
                                  : ascii::equalIgnoringCase(key, "OU") ||
                                        ascii::equalIgnoringCase(key, "O") ||
                                        ascii::equalIgnoringCase(key, "C");
        if (!known || equals + 1 == part.size())
            return {};
    }
    // A single "CN=x" is how Notes writes a flat name in canonical form; it has no "/".
    return parts;
}

std::string_view componentValue(std::string_view part)
{
    return trimmed(part.substr(part.find('=') + 1));
}

} // namespace

bool isInternetAddress(std::string_view value)
{
    value = trimmed(value);
    const std::size_t at = value.find('@');
    if (at == std::string_view::npos || at == 0 ||
        value.find('@', at + 1) != std::string_view::npos)
        return false;
    const std::string_view local = value.substr(0, at);
    if (local.find_first_of(" \t\r\n/<>()[],;:\\\"") != std::string_view::npos)
        return false;
    std::string_view domain = value.substr(at + 1);
    int labels = 0;
    while (true) {
        const std::size_t dot = domain.find('.');
        const std::string_view label = domain.substr(0, dot);
        if (label.empty() || label.front() == '-' || label.back() == '-' ||
            !std::all_of(label.begin(), label.end(), isLabelCharacter))
            return false;
        ++labels;
        if (dot == std::string_view::npos)
            break;
        domain.remove_prefix(dot + 1);
    }
    return labels >= 2;
}

bool isCanonicalName(std::string_view value)
{
    return !canonicalComponents(value).empty();
}

std::string commonName(std::string_view value)
{
    const std::vector<std::string_view> parts = canonicalComponents(value);
    return parts.empty() ? std::string(value) : std::string(componentValue(parts.front()));
}

std::string abbreviatedName(std::string_view value)
{
    const std::vector<std::string_view> parts = canonicalComponents(value);
    if (parts.empty())
        return std::string(value);
    std::string name;
    for (const std::string_view part : parts) {
        if (!name.empty())
            name += '/';
        name += componentValue(part);
    }
    return name;
}

std::string nameKey(std::string_view value)
{
    const std::string name = abbreviatedName(trimmed(value));
    std::string key;
    std::string_view rest = name;
    while (true) {
        const std::size_t slash = rest.find('/');
        if (!key.empty())
            key += '/';
        std::string part;
        ascii::lowerInto(trimmed(rest.substr(0, slash)), part);
        key += part;
        if (slash == std::string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }
    return key;
}

std::string ContactAddresses::primary() const
{
    if (!internet.empty())
        return internet.front();
    return plain.empty() ? std::string() : plain.front();
}

ContactAddresses contactAddresses(const ItemValues &mailAddress, const ItemValues &internetAddress)
{
    ContactAddresses addresses;
    const auto add = [&addresses](const ItemValues &values, bool mail) {
        for (const ItemValue &value : values) {
            const std::string text = defaultText(value);
            const std::string_view address = trimmed(text);
            if (address.empty())
                continue;
            if (isInternetAddress(address)) {
                const bool known = std::any_of(addresses.internet.begin(), addresses.internet.end(),
                                               [address](const std::string &seen) {
                                                   return ascii::equalIgnoringCase(seen, address);
                                               });
                if (!known)
                    addresses.internet.emplace_back(address);
            } else if (address.find('@') != std::string_view::npos) {
                addresses.routing.emplace_back(address);
            } else if (mail) {
                addresses.plain.push_back(text);
            }
        }
    };
    add(mailAddress, true);
    add(internetAddress, false);
    return addresses;
}

} // namespace notes
