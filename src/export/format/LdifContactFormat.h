// SPDX-License-Identifier: GPL-3.0-or-later
// The LDIF entry of a Person document, and one entry per group of the book after the last, in
// one of two forms:
// - Thunderbird: the entries Thunderbird's address book writes and reads (inetOrgPerson with its
//   mozilla* attributes, groupOfNames for a mailing list), each attribute at most once, since
//   Thunderbird keeps only the last value of a repeated one: later values go into the
//   description. A DN is "cn=NAME,mail=ADDRESS", as Thunderbird finds a list's members by the
//   address after "mail=".
// - Directory: inetOrgPerson and groupOfNames entries under a base DN the user gives, which an
//   LDAP server (OpenLDAP's ldapadd, say) takes as they stand: multi-valued attributes keep every
//   value the server accepts, a manager or assistant of the book is the DN of that person's
//   entry, a group's members are the DNs of the people it reaches and of its nested groups.
// In both, what has no attribute of its own goes into the description after the comment, one
// "Label: value" line each, as in a vCard's NOTE, so that nothing is lost; a value in canonical
// Notes form is written abbreviated. Qt-free.
#pragma once

#include "export/format/BookIndex.h"
#include "export/format/ContactFormat.h"
#include "notes/FieldSchema.h"
#include "notes/ItemValue.h"

#include <array>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace formats {

enum class LdifForm { Thunderbird, Directory };

struct LdifOptions {
    LdifForm form = LdifForm::Thunderbird;
    std::string baseDn; // the directory form's; one dnProblem() finds no fault with
};

class LdifContactFormat final : public ContactFormat {
public:
    // `options.baseDn` is written as it stands, outer spaces dropped.
    explicit LdifContactFormat(LdifOptions options);
    std::string heading() const override { return {}; }
    void format(notes::NotesDocument &document, FormattedContact &out) override;
    bool readsBook() const override { return true; }
    // Gives every person and group of the book its DN before the first entry is written, so
    // that an entry can name one written later.
    void setBook(const BookIndex &book) override;
    std::vector<FormattedContact> groups() override;

    // An entry's DN, the name its RDN holds (also its cn), and the uid the RDN adds to tell it
    // from another of the same name ("" when it needs none).
    struct Dn {
        std::string text;
        std::string name;
        std::string uid;
    };

private:
    bool directory() const { return m_options.form == LdifForm::Directory; }
    // A DN for `name` (and for Thunderbird `address`) that no entry has yet; `unid` tells it
    // from an earlier one of the same name.
    Dn uniqueDn(const std::string &name, const std::string &address, const std::string &unid);

    LdifOptions m_options;
    const BookIndex *m_book = nullptr;
    std::vector<Dn> m_personDns;                  // by person of the book
    std::vector<Dn> m_groupDns;                   // by group of the book
    std::unordered_set<std::string> m_taken;      // the match keys of the DNs given
    std::unordered_map<std::string, int> m_tries; // name, address, UNID: the last addition tried
    struct SameUid {
        std::vector<std::size_t> people; // in the view's order
        std::size_t next = 0;            // the first whose entry is not written yet
    };
    std::unordered_map<std::string, SameUid> m_byUid;
    ContactTexts m_contact;
};

} // namespace formats
