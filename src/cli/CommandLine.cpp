// The command line (see CommandLine.h): reading the arguments, the help, and the way from main().
#include "CommandLine.h"

#include "ExportCommand.h"
#include "FieldSchema.h"
#include "ListCommand.h"
#include "Product.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define KT_ISATTY _isatty
#define KT_FILENO _fileno
#else
#include <unistd.h>
#define KT_ISATTY isatty
#define KT_FILENO fileno
#endif

namespace cli {

namespace {

const QString kProgram = QStringLiteral("korvanta-tessal");

QString helpText()
{
    return QStringLiteral(
        "Usage:\n"
        "  korvanta-tessal [BOOK]\n"
        "      Starts the window (with BOOK in the path box).\n"
        "  korvanta-tessal export BOOK [--format csv|vcard|vcard-files]\n"
        "                              [--fields all|\"First Name,Last Name,...\"] [--out DIR]\n"
        "      Exports every contact of BOOK's \"$People\" view into DIR (default: the current\n"
        "      folder): csv writes OE-Contacts.csv (the default), vcard writes Contacts.vcf,\n"
        "      vcard-files writes a new folder Contacts with one .vcf per contact (for Outlook).\n"
        "      --fields names the CSV's columns by their captions (default: all 28); a vCard\n"
        "      always holds all 42 fields.\n"
        "  korvanta-tessal list BOOK [--json]\n"
        "      Prints every contact, one line each (name, e-mail address, company, separated\n"
        "      by tabs), or with --json an array of objects holding the 42 fields named by\n"
        "      their Notes items.\n"
        "  korvanta-tessal --help | --version\n"
        "\n"
        "BOOK is a Notes address book (.nsf, through the Notes client on Windows) or a DXL\n"
        "export of one (.dxl, .xml). The book is only read; the command line makes no backup\n"
        "copy of it. Messages and a progress bar (on a terminal) go to standard error.\n"
        "\n"
        "Exit status: 0 every document was written; 1 some documents could not be read and\n"
        "were skipped; 2 the book cannot be opened or the output cannot be written; 64 the\n"
        "command is wrong.\n"
        "\n"
        "CSV columns:\n");
}

QString columnList()
{
    QStringList captions;
    for (const notes::ExportColumn &column : notes::kExportColumns)
        captions << QString::fromLatin1(column.caption);
    return QStringLiteral("  ") + captions.join(QStringLiteral(", ")) + QLatin1Char('\n');
}

int usage(const Console &console, const QString &problem)
{
    console.err->write(
        QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(kProgram, problem).toUtf8());
    return kExitUsage;
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

} // namespace

QString bookPath(const QString &argument)
{
    return QDir::toNativeSeparators(QFileInfo(argument).absoluteFilePath());
}

bool wantsCommandLine(const QString &first)
{
    return first == QLatin1String("export") || first == QLatin1String("list") ||
           first.startsWith(QLatin1Char('-'));
}

int run(const QStringList &arguments, const notes::SessionFactory &factory, const Console &console)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version(QStringLiteral("version"), QString());
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("format"));
    const QCommandLineOption fields(QStringLiteral("fields"), QString(), QStringLiteral("fields"));
    const QCommandLineOption out(QStringLiteral("out"), QString(), QStringLiteral("dir"));
    const QCommandLineOption json(QStringLiteral("json"), QString());
    parser.addOptions({help, version, format, fields, out, json});
    if (!parser.parse(arguments))
        return usage(console, parser.errorText());

    if (parser.isSet(help)) {
        console.out->write((helpText() + columnList()).toUtf8());
        return kExitOk;
    }
    if (parser.isSet(version)) {
        console.out->write(
            QStringLiteral("%1 %2\n")
                .arg(QString::fromLatin1(product::kName), QString::fromLatin1(product::kVersion))
                .toUtf8());
        return kExitOk;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usage(console, QStringLiteral("a command is missing (export or list)."));
    const QString command = positional.front();
    if (command != QLatin1String("export") && command != QLatin1String("list"))
        return usage(console,
                     QStringLiteral("\"%1\" is not a command (export or list).").arg(command));
    if (positional.size() != 2)
        return usage(console, QStringLiteral("%1 takes one address book.").arg(command));
    const QString book = bookPath(positional.at(1));

    if (command == QLatin1String("list")) {
        for (const QCommandLineOption &option : {format, fields, out})
            if (parser.isSet(option))
                return usage(console,
                             QStringLiteral("list takes no --%1.").arg(option.names().front()));
        return runListCommand(book, parser.isSet(json), factory, console);
    }

    if (parser.isSet(json))
        return usage(console, QStringLiteral("export takes no --json."));
    ExportRequest request;
    request.book = book;
    const QString formatName = parser.value(format);
    if (parser.isSet(format)) {
        bool known = false;
        for (const ExportFormat candidate : kExportFormats) {
            if (formatName == exportFormatName(candidate)) {
                request.format = candidate;
                known = true;
            }
        }
        if (!known)
            return usage(console,
                         QStringLiteral("\"%1\" is not a format (csv, vcard or vcard-files).")
                             .arg(formatName));
    }
    const QString fieldList = parser.isSet(fields) ? parser.value(fields) : QStringLiteral("all");
    QString problem;
    if (!columnsOf(fieldList, request.positions, problem))
        return usage(console, problem);
    if (request.format != ExportFormat::Csv &&
        fieldList.compare(QStringLiteral("all"), Qt::CaseInsensitive) != 0)
        return usage(console, QStringLiteral("--fields chooses the CSV's columns; a vCard always "
                                             "holds every field."));
    // Absolute, so that the messages name the place in full.
    request.folder =
        parser.isSet(out) ? QFileInfo(parser.value(out)).absoluteFilePath() : QDir::currentPath();
    return runExportCommand(request, factory, console);
}

int commandLineMain(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvanta Tessal"));
    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly))
        return kExitFailed;
    const Console console{&out, &err, KT_ISATTY(KT_FILENO(stderr)) != 0};
    const int status = run(QCoreApplication::arguments(), notes::defaultSessionFactory(), console);
    out.flush();
    err.flush();
    return status;
}

} // namespace cli
