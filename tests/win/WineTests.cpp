// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the Windows Notes client against the stand-in COM server (StandInServer.cpp), run
// under wine: session creation in ProgID order, every kind of value compared with the in-memory
// client serving the same book, failures with the server's own description, a large book with no
// leaked references, the routing of DXL paths, and the scan and export walks over COM.
#include "ComApartment.h"
#include "ComClient.h"
#include "CsvContactFormat.h"
#include "DispatchPtr.h"
#include "FieldSchema.h"
#include "MemoryClient.h"
#include "RoutingSession.h"
#include "SampleBooks.h"
#include "TestRunner.h"
#include "WalkRecords.h"

#include <cstdio>
#include <numeric>

using namespace wintest;
using notes::com::DispatchPtr;
using notes::com::Variant;

namespace {

// The stand-in server's control object. Resets the server on creation and on leaving, so every
// test starts from the sample book with both session classes registered.
class ServerControl final {
public:
    ServerControl() : m_control(DispatchPtr::create("KorvantaTest.Control")) { reset(); }
    ~ServerControl()
    {
        try {
            setRegistered(notes::kDominoProgId, true);
            setRegistered(notes::kNotesProgId, true);
            reset();
        } catch (...) {
        }
    }
    ServerControl(const ServerControl &) = delete;
    ServerControl &operator=(const ServerControl &) = delete;

    void reset() { m_control.call("Reset"); }
    void selectBook(const std::string &name) { call("SelectBook", {name}); }
    void failOn(const std::string &member, int nthCall, const std::string &description)
    {
        call("FailOn", {member, std::to_string(nthCall), description});
    }
    void setRegistered(const std::string &progId, bool on)
    {
        call("SetRegistered", {progId, on ? "1" : "0"});
    }
    long creations(const std::string &progId) { return call("Creations", {progId}).value().lVal; }
    long calls(const std::string &member) { return call("Calls", {member}).value().lVal; }
    long liveObjects() { return m_control.property("LiveObjects").value().lVal; }

private:
    Variant call(const std::string &member, const std::vector<std::string> &texts)
    {
        std::vector<Variant> args;
        for (const std::string &t : texts)
            args.push_back(Variant::fromText(t));
        return m_control.call(member, args);
    }

    DispatchPtr m_control;
};

// The in-memory client serving the same book as the server.
void serveBook(notes::MemoryClient &client, const std::string &name)
{
    Book book = bookNamed(name);
    client.title = book.title;
    client.people = std::move(book.people);
    client.availableProgIds = {notes::kDominoProgId, notes::kNotesProgId};
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

void checkSame(const std::vector<std::string> &actual, const std::vector<std::string> &expected)
{
    const std::string difference = firstDifference(actual, expected);
    if (!difference.empty())
        throw CheckFailed(difference);
}

void progIdOrder()
{
    ServerControl server;
    const notes::SessionFactory factory = notes::com::comSessionFactory();

    server.setRegistered(notes::kDominoProgId, false);
    notes::SessionResult fallback = notes::createSession(factory);
    KT_CHECK(fallback.session != nullptr);
    KT_CHECK(fallback.fromFallback);
    KT_CHECK_EQ(server.creations(notes::kNotesProgId), 1);
    KT_CHECK_EQ(server.creations(notes::kDominoProgId), 0);
    fallback.session.reset();

    server.setRegistered(notes::kDominoProgId, true);
    notes::SessionResult preferred = notes::createSession(factory);
    KT_CHECK(preferred.session != nullptr);
    KT_CHECK(!preferred.fromFallback);
    KT_CHECK_EQ(server.creations(notes::kDominoProgId), 1);
    KT_CHECK_EQ(server.creations(notes::kNotesProgId), 1);
    preferred.session.reset();

    server.setRegistered(notes::kDominoProgId, false);
    server.setRegistered(notes::kNotesProgId, false);
    const notes::SessionResult none = notes::createSession(factory);
    KT_CHECK(none.session == nullptr);
    KT_CHECK(contains(none.error, notes::kNotesProgId));
    KT_CHECK_EQ(server.liveObjects(), 0);
}

void valuesMatchInMemoryClient()
{
    ServerControl server;
    notes::MemoryClient memory;
    serveBook(memory, "sample");
    const auto items = sampleItemNames();

    auto comSession = notes::com::createComSession(notes::kNotesProgId);
    const auto viaCom = bookTranscript(*comSession, "names.nsf", items);
    comSession.reset();
    auto memorySession = memory.factory()(notes::kNotesProgId);
    const auto viaMemory = bookTranscript(*memorySession, "names.nsf", items);

    KT_CHECK_EQ(static_cast<long long>(viaMemory.size()), 2 + 3 * (1 + 15));
    checkSame(viaCom, viaMemory);
    // Spot checks that do not lean on the in-memory client: CR LF arrives as "\n", a
    // multi-valued item keeps its three values.
    const std::string joined =
        std::accumulate(viaCom.begin(), viaCom.end(), std::string(),
                        [](std::string a, const std::string &b) { return a + b + "\n"; });
    KT_CHECK(!contains(joined, "\r"));
    KT_CHECK(contains(joined, "Categories = [text:Friends] [text:Work] [text:M\xC3\xBCller & Co]"));
    KT_CHECK(contains(joined, "Birthday = [dateD:1971-03-04]"));
    KT_CHECK(contains(joined, "MiscPhone2 = [dateT:07:05:09]"));
    KT_CHECK_EQ(server.liveObjects(), 0);
}

void emptyView()
{
    ServerControl server;
    server.selectBook("empty");
    auto session = notes::com::createComSession(notes::kNotesProgId);
    auto database = session->GetDatabase("", "names.nsf");
    auto view = database->GetView("$People");
    auto navigator = view->CreateViewNav();
    KT_CHECK_EQ(navigator->Count(), 0);
    KT_CHECK(navigator->GetFirstDocument() == nullptr);
    navigator.reset();
    view.reset();
    database.reset();
    session.reset();
    KT_CHECK_EQ(server.liveObjects(), 0);
}

void missingView()
{
    ServerControl server;
    auto session = notes::com::createComSession(notes::kNotesProgId);
    auto database = session->GetDatabase("", "names.nsf");
    try {
        database->GetView("NoSuchView");
        KT_CHECK(!"GetView of a missing view returned");
    } catch (const notes::NotesError &e) {
        KT_CHECK(contains(e.reason(), "NoSuchView"));
    }
}

void failuresCarryTheServersDescription()
{
    ServerControl server;
    server.failOn("GetDatabase", 1, "File does not exist");
    auto session = notes::com::createComSession(notes::kNotesProgId);
    try {
        session->GetDatabase("", "missing.nsf");
        KT_CHECK(!"GetDatabase returned");
    } catch (const notes::NotesError &e) {
        KT_CHECK_EQ(e.reason(), "Notes GetDatabase: File does not exist (NotesSession)");
    }

    server.failOn("GetItemValue", 2, "Bad item in note \xC3\xA9");
    auto database = session->GetDatabase("", "names.nsf");
    auto navigator = database->GetView("$People")->CreateViewNav();
    auto document = navigator->GetFirstDocument()->Document();
    KT_CHECK_EQ(notes::firstText(document->GetItemValue("FirstName")), "Zo\xC3\xAB");
    try {
        document->GetItemValue("LastName");
        KT_CHECK(!"the failing GetItemValue returned");
    } catch (const notes::NotesError &e) {
        KT_CHECK_EQ(e.reason(), "Notes GetItemValue: Bad item in note \xC3\xA9 (NotesDocument)");
    }
    // The failure was one call only: the document still answers.
    KT_CHECK_EQ(notes::firstText(document->GetItemValue("LastName")), "\xC3\x85ngstr\xC3\xB6m");
}

void largeBookLeaksNothing()
{
    ServerControl server;
    server.selectBook("large");
    auto session = notes::com::createComSession(notes::kNotesProgId);
    auto database = session->GetDatabase("", "names.nsf");
    auto view = database->GetView("$People");
    auto navigator = view->CreateViewNav();
    KT_CHECK_EQ(navigator->Count(), 5000);
    std::unique_ptr<notes::NotesDocument> document;
    long documents = 0;
    long mostAlive = 0;
    std::string last;
    for (auto entry = navigator->GetFirstDocument(); entry;
         entry = navigator->GetNextDocument(*entry)) {
        document = entry->Document();
        last = notes::firstText(document->GetItemValue("FirstName")) + " " +
               notes::firstText(document->GetItemValue("OfficePhoneNumber"));
        ++documents;
        if (documents % 500 == 0)
            mostAlive = std::max(mostAlive, server.liveObjects());
    }
    KT_CHECK_EQ(documents, 5000);
    KT_CHECK_EQ(last, "Person4999 5999");
    // Session, database, view, navigator, entry and document: never more than one of each.
    KT_CHECK(mostAlive <= 6);
    navigator.reset();
    view.reset();
    document.reset();
    database.reset();
    session.reset();
    KT_CHECK_EQ(server.liveObjects(), 0);
}

void dxlPathsGoToTheDxlClient()
{
    ServerControl server;
    notes::MemoryClient dxl;
    dxl.title = "DXL book";
    const notes::SessionFactory factory =
        notes::com::RoutingSession::factory(notes::com::comSessionFactory(), dxl.factory());

    notes::SessionResult created = notes::createSession(factory);
    KT_CHECK(created.session != nullptr);
    KT_CHECK(!created.fromFallback);
    KT_CHECK_EQ(created.session->GetDatabase("", "C:\\Books\\Names.DXL")->Title(), "DXL book");
    KT_CHECK_EQ(created.session->GetDatabase("", "export.xml")->Title(), "DXL book");
    KT_CHECK_EQ(created.session->GetDatabase("", "names.nsf")->Title(), "Sample Address Book");
    KT_CHECK_EQ(created.session->GetDatabase("", "names.dxl.nsf")->Title(), "Sample Address Book");
    created.session.reset();

    // No Notes client: DXL files still open; an address book of the Notes client fails as Notes
    // being unavailable (the walks report that as not installed), with the reason the Notes
    // client could not start.
    server.setRegistered(notes::kDominoProgId, false);
    server.setRegistered(notes::kNotesProgId, false);
    KT_CHECK(factory(notes::kNotesProgId) != nullptr);
    try {
        factory(notes::kDominoProgId);
        KT_CHECK(!"Domino.NotesSession was created without its class");
    } catch (const notes::NotesError &) {
    }
    notes::SessionResult dxlOnly = notes::createSession(factory);
    KT_CHECK(dxlOnly.session != nullptr);
    KT_CHECK(dxlOnly.fromFallback);
    KT_CHECK_EQ(dxlOnly.session->GetDatabase("", "names.dxl")->Title(), "DXL book");
    try {
        dxlOnly.session->GetDatabase("", "names.nsf");
        KT_CHECK(!"names.nsf opened without a Notes client");
    } catch (const notes::NotesUnavailable &e) {
        KT_CHECK(contains(e.reason(), notes::kNotesProgId));
    } catch (const notes::NotesError &) {
        KT_CHECK(!"names.nsf without a Notes client is not reported as Notes unavailable");
    }
}

// The scan over COM delivers what it delivers over the in-memory client, with and without a
// document that fails to read.
void scanMatchesInMemoryClient()
{
    for (int failingCall : {0, 50}) {
        ServerControl server;
        notes::MemoryClient memory;
        serveBook(memory, "sample");
        if (failingCall) {
            server.failOn("GetItemValue", failingCall, "Damaged note");
            memory.failOn(notes::MemoryClient::Op::GetItemValue, failingCall);
        }
        ScanRecorder viaCom;
        const notes::WalkOutcome comOutcome =
            notes::runScan(notes::com::comSessionFactory(), "names.nsf", viaCom);
        ScanRecorder viaMemory;
        const notes::WalkOutcome memoryOutcome =
            notes::runScan(memory.factory(), "names.nsf", viaMemory);
        KT_CHECK_EQ(describe(comOutcome), describe(memoryOutcome));
        KT_CHECK_EQ(static_cast<long long>(comOutcome.delivered), failingCall ? 2 : 3);
        checkSame(viaCom.lines, viaMemory.lines);
        KT_CHECK_EQ(server.liveObjects(), 0);
    }
}

void exportMatchesInMemoryClient()
{
    std::vector<std::size_t> every(notes::kExportColumns.size());
    std::iota(every.begin(), every.end(), std::size_t{0});
    for (const std::string &book : {std::string("sample"), std::string("empty")}) {
        for (int failingCall : {0, 30}) {
            ServerControl server;
            server.selectBook(book);
            notes::MemoryClient memory;
            serveBook(memory, book);
            if (failingCall) {
                server.failOn("GetItemValue", failingCall, "Damaged note");
                memory.failOn(notes::MemoryClient::Op::GetItemValue, failingCall);
            }
            exportcore::CsvContactFormat csv(every);
            ExportRecorder viaCom;
            const notes::WalkOutcome comOutcome =
                exportcore::runExport(notes::com::comSessionFactory(), "names.nsf", csv, viaCom);
            ExportRecorder viaMemory;
            const notes::WalkOutcome memoryOutcome =
                exportcore::runExport(memory.factory(), "names.nsf", csv, viaMemory);
            KT_CHECK_EQ(describe(comOutcome), describe(memoryOutcome));
            KT_CHECK(book == "empty" || comOutcome.delivered == (failingCall ? 2 : 3));
            checkSame(viaCom.lines, viaMemory.lines);
            KT_CHECK_EQ(server.liveObjects(), 0);
        }
    }
}

} // namespace

int main()
{
    notes::com::ComApartment apartment;
    if (!apartment.ok()) {
        std::printf("COM could not be initialised\n0 passed, 1 failed\n");
        return 1;
    }
    const int failed = runTests({
        {"ProgID order: Domino preferred, Notes as fallback, neither fails", progIdOrder},
        {"every kind of value as the in-memory client gives it", valuesMatchInMemoryClient},
        {"an empty view gives no first entry", emptyView},
        {"a missing view is a failure", missingView},
        {"failures carry the server's description", failuresCarryTheServersDescription},
        {"5,000 documents, no object left alive", largeBookLeaksNothing},
        {"DXL paths go to the DXL client, others to Notes", dxlPathsGoToTheDxlClient},
        {"the scan over COM matches the in-memory client", scanMatchesInMemoryClient},
        {"the export over COM matches the in-memory client", exportMatchesInMemoryClient},
    });
    return failed == 0 ? 0 : 1;
}
