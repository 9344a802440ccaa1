// SPDX-License-Identifier: GPL-3.0-or-later
// The command line (see CommandLine.h): reading the arguments, the help, and the way from main().
#include "cli/CommandLine.h"

#include "cli/ExportCommand.h"
#include "cli/Interrupts.h"
#include "cli/ItemsCommand.h"
#include "cli/ListCommand.h"
#include "cli/StandardStream.h"
#include "export/format/LdifText.h"
#include "notes/FieldSchema.h"
#include "notes/sessions/DefaultSessionFactory.h"
#include "product/Product.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// After windows.h, which they build on.
#include <io.h>
#include <shellapi.h>
#define KT_ISATTY _isatty
#else
#include <sys/ioctl.h>
#include <unistd.h>
#define KT_ISATTY isatty
#endif

namespace cli {

namespace {

QString helpText()
{
    return QStringLiteral(
        "Usage:\n"
        "  korvanta-tessal [BOOK]\n"
        "      Starts the window, with BOOK in the path box. The window needs a display;\n"
        "      without one, use export, list or items.\n"
        "  korvanta-tessal export BOOK [--format csv|vcard|vcard-files|ldif]\n"
        "                              [--fields all|\"First Name,Last Name,...\"]\n"
        "                              [--ldif thunderbird|directory] [--base-dn DN]\n"
        "                              [--out DIR] [--reader notes|file]\n"
        "      Exports every contact of BOOK's \"$People\" view into the folder DIR (which\n"
        "      must exist; default: the current folder): csv writes OE-Contacts.csv (the\n"
        "      default), vcard writes Contacts.vcf, vcard-files writes a new folder\n"
        "      Contacts with one .vcf per contact (for Outlook), ldif writes\n"
        "      Contacts.ldif with the groups too. --fields names the CSV's columns by\n"
        "      their captions (default: all 28, listed below); a vCard or LDIF file\n"
        "      always holds all 42 fields. --ldif chooses the LDIF's form: thunderbird\n"
        "      (the default) for Thunderbird's address book, or directory for an LDAP\n"
        "      server, with the entries under the DN that --base-dn gives (required),\n"
        "      such as ou=People,dc=example,dc=com.\n"
        "  korvanta-tessal list BOOK [--json] [--reader notes|file]\n"
        "      Prints every contact on standard output, one line each (name, e-mail\n"
        "      address, company, separated by tabs), or with --json an array of objects\n"
        "      holding the 42 fields named by their Notes items, then one object for\n"
        "      each group of the book.\n"
        "  korvanta-tessal items BOOK [--form NAME] [--json] [--reader notes|file]\n"
        "      Prints every document of BOOK (all of them, not only the people, or only\n"
        "      those of the form NAME) with its UNID, its form and every item: name,\n"
        "      type and values, or with --json as an array of objects. It shows what a\n"
        "      book holds.\n"
        "  korvanta-tessal --help    (or: korvanta-tessal help)\n"
        "  korvanta-tessal --version\n"
        "\n"
        "BOOK is a Notes address book (.nsf) or a DXL export of one (.dxl, .xml). It\n"
        "is only read; the command line makes no backup copy of it. A .nsf is read\n"
        "through the Notes client where one is installed (Windows), else from the file\n"
        "itself, without Notes; --reader chooses one of the two. BOOK and DIR name a\n"
        "file and a folder: \"-\" for standard input or output is not accepted.\n"
        "\n"
        "Messages start with \"korvanta-tessal: \" and go to standard error, with a\n"
        "progress line while the book is read when standard error is a terminal. An\n"
        "export that is interrupted (Ctrl-C) removes what it had begun to write: the\n"
        "folder is left as it was.\n"
        "\n"
        "Exit status:\n"
        "    0  every document was written (or listed)\n"
        "    1  some documents could not be read and were skipped (the tally is printed)\n"
        "    2  the book cannot be opened, or the output cannot be written (standard\n"
        "       output included); an export then writes nothing\n"
        "   64  the command is wrong, or the window was asked for without a display\n"
        "  130  interrupted\n"
        "\n"
        "CSV columns:\n");
}

// The CSV's captions, wrapped to fit the help's 80 columns.
QString columnList()
{
    constexpr qsizetype kWidth = 78;
    QString text;
    QString line = QStringLiteral(" ");
    for (std::size_t i = 0; i < notes::kExportColumnCount; ++i) {
        QString caption = QString::fromLatin1(notes::kExportColumns[i].caption);
        if (i + 1 < notes::kExportColumnCount)
            caption += QLatin1Char(',');
        if (line.size() + 1 + caption.size() > kWidth) {
            text += line + QLatin1Char('\n');
            line = QStringLiteral(" ");
        }
        line += QLatin1Char(' ') + caption;
    }
    return text + line + QLatin1Char('\n');
}

QString reportText()
{
    return QStringLiteral("\nReport problems: %1\n").arg(QString::fromLatin1(product::kWebSite));
}

// "3.0.1038" from "Version 3.0 Build 1038": the number as tools print it after their name.
QString versionNumber()
{
    QString number = QString::fromLatin1(product::kVersion);
    number.remove(QStringLiteral("Version "));
    number.replace(QStringLiteral(" Build "), QStringLiteral("."));
    return number;
}

QString versionText()
{
    return QStringLiteral("%1 %2\n"
                          "Copyright (C) 2026 %3\n"
                          "License GPLv3+: GNU GPL version 3 or later "
                          "<https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n")
        .arg(kProgram, versionNumber(), QString::fromLatin1(product::kCompany));
}

int usage(const Console &console, const QString &problem)
{
    printMessage(console, QStringLiteral("%1\nTry '%2 --help'.").arg(problem, kProgram));
    return kExitUsage;
}

bool isCommand(const QString &word)
{
    return word == QLatin1String("export") || word == QLatin1String("list") ||
           word == QLatin1String("items") || word == QLatin1String("help");
}

// Whether a word is plainly meant as an address book: a file that is there, or a path or a
// book's name that may not be there yet.
bool namesBook(const QString &word)
{
    if (word.isEmpty())
        return false;
    if (QFileInfo::exists(word) || word.contains(QLatin1Char('/')))
        return true;
#ifdef _WIN32
    if (word.contains(QLatin1Char('\\')))
        return true;
#endif
    const QString suffix = QFileInfo(word).suffix();
    for (const char *known : {"nsf", "dxl", "xml"})
        if (suffix.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The columns named in --fields, in the order of the field list; false (and `problem`) when a
// name is not a column's caption.
bool columnsOf(const QString &fields, std::vector<std::size_t> &positions, QString &problem)
{
    positions.clear();
    if (fields.compare(QStringLiteral("all"), Qt::CaseInsensitive) == 0) {
        for (std::size_t i = 0; i < notes::kExportColumnCount; ++i)
            positions.push_back(i);
        return true;
    }
    for (const QString &name : fields.split(QLatin1Char(','))) {
        const QString caption = name.trimmed();
        const auto found =
            std::find_if(notes::kExportColumns.begin(), notes::kExportColumns.end(),
                         [&caption](const notes::ExportColumn &column) {
                             return caption.compare(QString::fromLatin1(column.caption),
                                                    Qt::CaseInsensitive) == 0;
                         });
        if (found == notes::kExportColumns.end()) {
            problem = QStringLiteral("\"%1\" is not a field of the CSV (see --help).").arg(caption);
            return false;
        }
        positions.push_back(static_cast<std::size_t>(found - notes::kExportColumns.begin()));
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return true;
}

// The LDIF's form and base DN from --ldif and --base-dn into `request`; what is wrong with them
// ("" when nothing is).
QString ldifOptions(const QCommandLineParser &parser, const QCommandLineOption &ldif,
                    const QCommandLineOption &baseDn, exporting::ExportRequest &request)
{
    if (request.format != exporting::ExportFormat::Ldif) {
        if (parser.isSet(ldif) || parser.isSet(baseDn))
            return QStringLiteral("--ldif and --base-dn go with --format ldif.");
        return {};
    }
    const QString form = parser.value(ldif);
    if (form == QLatin1String("directory"))
        request.ldif.form = formats::LdifForm::Directory;
    else if (parser.isSet(ldif) && form != QLatin1String("thunderbird"))
        return QStringLiteral("\"%1\" is not a form of LDIF (thunderbird or directory).").arg(form);
    if (request.ldif.form != formats::LdifForm::Directory)
        return parser.isSet(baseDn) ? QStringLiteral("--base-dn goes with --ldif directory.")
                                    : QString();
    if (!parser.isSet(baseDn))
        return QStringLiteral("--ldif directory needs --base-dn DN, the place of the entries in "
                              "the directory (such as ou=People,dc=example,dc=com).");
    const QString dn = parser.value(baseDn);
    if (const std::string problem = formats::dnProblem(dn.toStdString()); !problem.empty())
        return QStringLiteral("--base-dn \"%1\" is not a DN: %2 (an example: "
                              "ou=People,dc=example,dc=com).")
            .arg(dn, QString::fromStdString(problem));
    request.ldif.baseDn = dn.toStdString();
    return {};
}

// The arguments as the system passed them: on Windows argv holds them in the ANSI code page,
// which loses the letters of a book's name that it has no place for.
QStringList programArguments(int argc, char *argv[])
{
    QStringList arguments;
#ifdef _WIN32
    int count = 0;
    if (LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The width of the terminal on standard error, for the progress line.
int terminalColumns()
{
#ifdef _WIN32
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize size = {};
    if (ioctl(2, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    const int columns = qEnvironmentVariableIntValue("COLUMNS");
    return columns > 0 ? columns : 80;
}

int commandLineMain(int argc, char *argv[])
{
    watchInterrupts(); // before QCoreApplication or anything else can start a thread
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(product::kName));
    // Output to a terminal shows as it comes; to a file or a pipe it goes in large writes.
    StandardStream out(1, KT_ISATTY(1) == 0);
    StandardStream err(2, false);
    const bool terminal = KT_ISATTY(2) != 0;
    const Console console{&out, &err, terminal, terminal ? terminalColumns() : 80};
    const int status = run(QCoreApplication::arguments(),
                           FactoryFor(notes::sessions::defaultSessionFactory), console);
    if (out.flush())
        return status;
    // A reader that went away (`list BOOK | head`) wanted no more: that is no news to anyone.
    if (out.failure() != EPIPE)
        printMessage(console, QStringLiteral("write error: %1").arg(out.failureText()));
    return kExitFailed;
}

} // namespace

Start startOf(const QStringList &arguments, bool displayAvailable)
{
    const Start window = displayAvailable ? Start::Window : Start::NoDisplay;
    if (arguments.isEmpty())
        return window;
    const QString &first = arguments.front();
    if (isCommand(first) || first.startsWith(QLatin1Char('-')))
        return Start::CommandLine;
    return arguments.size() == 1 && namesBook(first) ? window : Start::CommandLine;
}

bool displayAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

QString bookPath(const QString &argument)
{
    return QDir::toNativeSeparators(QFileInfo(argument).absoluteFilePath());
}

int run(const QStringList &arguments, const notes::SessionFactory &factory, const Console &console)
{
    return run(
        arguments, [&factory](notes::sessions::Reader) { return factory; }, console);
}

int run(const QStringList &arguments, const FactoryFor &factoryFor, const Console &console)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version(QStringLiteral("version"), QString());
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("format"));
    const QCommandLineOption fields(QStringLiteral("fields"), QString(), QStringLiteral("fields"));
    const QCommandLineOption out(QStringLiteral("out"), QString(), QStringLiteral("dir"));
    const QCommandLineOption json(QStringLiteral("json"), QString());
    const QCommandLineOption reader(QStringLiteral("reader"), QString(), QStringLiteral("reader"));
    const QCommandLineOption form(QStringLiteral("form"), QString(), QStringLiteral("name"));
    const QCommandLineOption ldif(QStringLiteral("ldif"), QString(), QStringLiteral("form"));
    const QCommandLineOption baseDn(QStringLiteral("base-dn"), QString(), QStringLiteral("dn"));
    parser.addOptions({help, version, format, fields, out, json, reader, form, ldif, baseDn});
    if (!parser.parse(arguments))
        return usage(console, parser.errorText());

    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(help) ||
        (!positional.isEmpty() && positional.front() == QLatin1String("help"))) {
        console.out->write((helpText() + columnList() + reportText()).toUtf8());
        return kExitOk;
    }
    if (parser.isSet(version)) {
        console.out->write(versionText().toUtf8());
        return kExitOk;
    }

    if (positional.isEmpty())
        return usage(console, QStringLiteral("a command is missing (export, list or items)."));
    const QString command = positional.front();
    if (command == QLatin1String("-"))
        return usage(console,
                     QStringLiteral("\"-\": standard input is not read; name the address "
                                    "book's file after a command (export, list or items)."));
    if (command != QLatin1String("export") && command != QLatin1String("list") &&
        command != QLatin1String("items")) {
        if (!namesBook(command))
            return usage(console,
                         QStringLiteral("\"%1\" is neither a command (export, list, items, help) "
                                        "nor an address book that exists.")
                             .arg(command));
        if (positional.size() > 1)
            return usage(console, QStringLiteral("\"%1\" after the address book: the window takes "
                                                 "the book alone.")
                                      .arg(positional.at(1)));
        return usage(console,
                     QStringLiteral("options go with a command (export, list or items) before "
                                    "the address book."));
    }
    if (positional.size() < 2)
        return usage(console, QStringLiteral("%1 takes one address book.").arg(command));
    if (positional.size() > 2)
        return usage(console, QStringLiteral("%1 takes one address book; \"%2\" is one argument "
                                             "too many.")
                                  .arg(command, positional.at(2)));
    if (positional.at(1) == QLatin1String("-"))
        return usage(console, QStringLiteral("\"-\": %1 reads the address book from its file, not "
                                             "from standard input.")
                                  .arg(command));
    const QString book = bookPath(positional.at(1));
    notes::sessions::Reader chosen = notes::sessions::Reader::Automatic;
    if (parser.isSet(reader)) {
        const auto named = notes::sessions::readerNamed(parser.value(reader).toStdString());
        if (!named)
            return usage(console, QStringLiteral("\"%1\" is not a reader (notes or file).")
                                      .arg(parser.value(reader)));
        chosen = *named;
    }
    const notes::SessionFactory factory = factoryFor(chosen);

    if (command == QLatin1String("items")) {
        for (const QCommandLineOption &option : {format, fields, out, ldif, baseDn})
            if (parser.isSet(option))
                return usage(console,
                             QStringLiteral("items takes no --%1.").arg(option.names().front()));
        return runItemsCommand(book, parser.value(form), parser.isSet(json), factory, console);
    }
    if (parser.isSet(form))
        return usage(console, QStringLiteral("--form goes with items."));
    if (command == QLatin1String("list")) {
        for (const QCommandLineOption &option : {format, fields, out, ldif, baseDn})
            if (parser.isSet(option))
                return usage(console,
                             QStringLiteral("list takes no --%1.").arg(option.names().front()));
        return runListCommand(book, parser.isSet(json), factory, console);
    }

    if (parser.isSet(json))
        return usage(console, QStringLiteral("export takes no --json."));
    exporting::ExportRequest request;
    request.book = book;
    const QString formatName = parser.value(format);
    if (parser.isSet(format)) {
        bool known = false;
        for (const exporting::ExportFormat candidate : exporting::kExportFormats) {
            if (formatName == exporting::exportFormatName(candidate)) {
                request.format = candidate;
                known = true;
            }
        }
        if (!known)
            return usage(console,
                         QStringLiteral("\"%1\" is not a format (csv, vcard, vcard-files or ldif).")
                             .arg(formatName));
    }
    if (const QString problem = ldifOptions(parser, ldif, baseDn, request); !problem.isEmpty())
        return usage(console, problem);
    const QString fieldList = parser.isSet(fields) ? parser.value(fields) : QStringLiteral("all");
    QString problem;
    if (!columnsOf(fieldList, request.positions, problem))
        return usage(console, problem);
    if (request.format != exporting::ExportFormat::Csv &&
        fieldList.compare(QStringLiteral("all"), Qt::CaseInsensitive) != 0)
        return usage(console, QStringLiteral("--fields chooses the CSV's columns; a vCard or "
                                             "LDIF file always holds every field."));
    const QString folder = parser.value(out);
    if (parser.isSet(out) && folder.isEmpty())
        return usage(console, QStringLiteral("--out names a folder; it is empty."));
    if (folder == QLatin1String("-"))
        return usage(console, QStringLiteral("--out -: the export writes files into a folder, not "
                                             "to standard output."));
    // Absolute, so that the messages name the place in full.
    request.folder = parser.isSet(out) ? QFileInfo(folder).absoluteFilePath() : QDir::currentPath();
    return runExportCommand(request, factory, console);
}

std::optional<int> runWithoutWindow(int argc, char *argv[])
{
    switch (startOf(programArguments(argc, argv), displayAvailable())) {
    case Start::Window:
        return std::nullopt;
    case Start::CommandLine:
        return commandLineMain(argc, argv);
    case Start::NoDisplay:
        break;
    }
    StandardStream err(2, false);
    err.write(QStringLiteral("%1: the window needs a display, and none is set (DISPLAY, "
                             "WAYLAND_DISPLAY); without one, use '%1 export' or '%1 list' (see "
                             "'%1 --help').\n")
                  .arg(kProgram)
                  .toUtf8());
    return kExitUsage;
}

} // namespace cli
