// SPDX-License-Identifier: GPL-3.0-or-later
// The vCard 3.0 card of a Person document: every one of the contact's 42 items in the property
// that mail programs read it from (the help's vCard page lists them), every value of a
// multi-valued item kept. Its e-mail addresses are the Internet addresses of MailAddress and
// InternetAddress (a Notes routing address goes into NOTE); a value in canonical Notes form is
// written abbreviated, and a manager or assistant who is a person of the book by the name that
// person's card shows; the names of the groups that reach the contact join its CATEGORIES.
// Qt-free.
#pragma once

#include "export/format/BookIndex.h"
#include "export/format/ContactFormat.h"
#include "notes/FieldSchema.h"
#include "notes/ItemValue.h"

#include <array>
#include <string>
#include <vector>

namespace formats {

class VCardContactFormat final : public ContactFormat {
public:
    std::string heading() const override { return {}; }
    void format(notes::NotesDocument &document, FormattedContact &out) override;
    bool readsBook() const override { return true; }
    void setBook(const BookIndex &book) override { m_book = &book; }
    // One group card per group of the book, in the form Apple's and other CardDAV programs read.
    std::vector<FormattedContact> groups() override;

private:
    ContactTexts m_contact;
    std::string m_line;
    const BookIndex *m_book = nullptr;
};

} // namespace formats
