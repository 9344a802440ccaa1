// SPDX-License-Identifier: GPL-3.0-or-later
// The "Export Options" window: the select-all rule, every way a run ends (what is written, what
// is said, and the window after it; a run refused or failed leaves the window, and any earlier
// file, as they were), and the input that arrives while a run goes on.
#include "DataRows.h"
#include "FakePlatform.h"
#include "FileBytes.h"
#include "Find.h"
#include "PostInput.h"
#include "TestBooks.h"
#include "app/FrmConversion.h"
#include "app/WalkRunner.h"
#include "export/ExportFilePath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using notes::MemoryClient;

namespace {

struct Window {
    explicit Window(notes::SessionFactory factory)
        : form(nullptr, QStringLiteral("names.nsf"), std::move(factory), [this] { ++completions; })
    {
        form.show();
    }

    // "A" ticks Select All and "a" clears it; "+n" ticks item n and "-n" clears it.
    void tick(const QString &steps)
    {
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            if (step == QLatin1String("A") || step == QLatin1String("a")) {
                QCOMPARE(selectAll->isChecked(), step == QLatin1String("a"));
                selectAll->click();
            } else {
                list->item(step.mid(1).toInt())
                    ->setCheckState(step[0] == u'+' ? Qt::Checked : Qt::Unchecked);
            }
        }
    }

    QString ticks() const
    {
        QString out;
        for (int i = 0; i < list->count(); ++i)
            out += list->item(i)->checkState() == Qt::Checked ? u'x' : u'.';
        return out;
    }

    int completions = 0;
    app::FrmConversion form;
    QListWidget *list = find<QListWidget>(&form, "LstContactsField");
    QCheckBox *selectAll = find<QCheckBox>(&form, "ChkSelectAll");
    QPushButton *start = find<QPushButton>(&form, "CmdConversion");
    QProgressBar *bar = find<QProgressBar>(&form, "ProgBarSave");
    QLabel *label = find<QLabel>(&form, "LblOpenExcelFile");
    QLabel *icon = find<QLabel>(&form, "ImgOpenExcelFile");
};

} // namespace

class TestFrmConversion final : public QObject {
    Q_OBJECT

private slots:
    void init() { exporting::ExportFilePath.clear(); }

    void selectAll_data() { testdata::addRows("app/select-all.rows", {"steps", "ticks", "box"}); }

    void selectAll()
    {
        QFETCH(QString, steps);
        QFETCH(QString, ticks);
        QFETCH(QString, box);
        MemoryClient client;
        Window w(client.factory());
        // As loaded: the button holds the focus, and the icon is drawn from the compiled-in
        // resource (an empty picture means it was not linked).
        QCOMPARE(w.form.focusWidget(), w.start);
        QCOMPARE(w.icon->pixmap().size(), QSize(16, 16));
        w.tick(steps);
        QCOMPARE(w.ticks(), ticks);
        QCOMPARE(w.selectAll->isChecked(), !box.isEmpty());
    }

    void run_data()
    {
        testdata::addRows("app/export-runs.rows",
                          {"people", "firstName", "format", "ticks", "codePage", "setup", "failing",
                           "nthCall", "title", "message", "holds", "written", "bytes"});
    }

    void run()
    {
        QFETCH(QString, people);
        QFETCH(QString, firstName);
        QFETCH(QString, format);
        QFETCH(QString, ticks);
        QFETCH(QString, codePage);
        QFETCH(QString, setup);
        QFETCH(QString, failing);
        QFETCH(QString, nthCall);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(QString, holds);
        QFETCH(QString, written);
        QFETCH(QString, bytes);
        const bool csv = format.isEmpty();

        FakePlatform fake;
        QTemporaryDir dir;
        QString folder = dir.path();
        const QString earlier = dir.filePath(QStringLiteral("OE-Contacts.csv"));
        if (setup == QLatin1String("folder in place of the file"))
            QVERIFY(QDir(folder).mkdir(QStringLiteral("OE-Contacts.csv")));
        else
            QVERIFY(writeBytes(earlier, "earlier export\r\n"));
        if (setup == QLatin1String("folder below a file"))
            folder = earlier + QStringLiteral("/sub");
        if (setup == QLatin1String("read-only file")) {
            QVERIFY(QFile::setPermissions(earlier, QFileDevice::ReadOwner));
            if (QFile(earlier).open(QIODevice::ReadWrite))
                QSKIP("This user can write read-only files (root); the other rows cover it.");
        }
        fake.folderAnswer = setup == QLatin1String("cancel") ? QString() : folder;
        const QByteArray earlierBefore = readBytes(earlier);
        const QStringList filesBefore =
            QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

        MemoryClient client;
        addPeople(client, people.toInt());
        if (!firstName.isEmpty())
            client.people.push_back(
                notes::MemoryDocument().set("FirstName", firstName.toStdString()));
        if (setup == QLatin1String("no session"))
            client.availableProgIds.clear();
        if (!failing.isEmpty())
            client.failOn(testdata::named<MemoryClient::Op>(failing, MemoryClient::kOpNames),
                          nthCall.toInt());
        Window w(client.factory());
        if (codePage == QLatin1String("latin1"))
            w.form.setCodePage(QStringConverter::Latin1);
        find<QComboBox>(&w.form, "CboFormat")
            ->setCurrentIndex(csv                                ? 0
                              : format == QLatin1String("vcard") ? 1
                                                                 : 2);
        w.tick(ticks);
        // The ticks choose the CSV's columns; a vCard holds every field, and the window says so.
        QCOMPARE(w.list->isEnabled(), csv);
        QCOMPARE(w.selectAll->isEnabled(), csv);
        QCOMPARE(find<QLabel>(&w.form, "LblFormatFields")->isVisible(), !csv);
        const QList<int> barBefore{w.bar->maximum(), w.bar->value()};
        QTest::mouseClick(w.start, Qt::LeftButton);

        QCOMPARE(fake.folderTitles, QStringList{csv ? "Select Folder to Save CSV File"
                                                    : "Select Folder to Save vCard Files"});
        QCOMPARE(fake.messages.size(), title.isEmpty() ? 0 : 1);
        if (!title.isEmpty()) {
            const QString text = fake.messages[0].text;
            message.replace(QStringLiteral("{file}"), exporting::exportFileIn(folder));
            QCOMPARE(fake.messages[0].title, title);
            QVERIFY2(text.startsWith(message) && text.contains(holds), qPrintable(text));
            if (holds.isEmpty())
                QCOMPARE(text.size() > message.size(), message.endsWith(QLatin1String("\n\n")));
        }
        const bool done = !written.isEmpty();
        const QString path = done ? QDir::toNativeSeparators(dir.filePath(written)) : QString();
        QCOMPARE(exporting::ExportFilePath, path);
        QCOMPARE(w.completions, done ? 1 : 0);
        QCOMPARE(w.start->isEnabled(), !done);
        QCOMPARE(w.label->isVisible(), done);
        QCOMPARE(w.icon->isVisible(), done);
        QCOMPARE(client.liveObjects(), 0);
        if (!done) {
            QCOMPARE((QList<int>{w.bar->maximum(), w.bar->value()}), barBefore);
            QCOMPARE(readBytes(earlier), earlierBefore);
            QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                     filesBefore);
            return;
        }
        if (failing.isEmpty())
            QCOMPARE((QList<int>{w.bar->maximum(), w.bar->value()}),
                     (QList<int>{int(client.people.size()), int(client.people.size())}));
        QVERIFY(QFileInfo::exists(path));
        if (!bytes.isEmpty())
            QCOMPARE(readBytes(path), bytes.toUtf8());
        // The label opens what was written, each time; the icon beside it opens nothing. A
        // second export needs a new window.
        QTest::mouseClick(w.icon, Qt::LeftButton);
        QTest::mouseClick(w.label, Qt::LeftButton);
        QTest::mouseClick(w.label, Qt::LeftButton);
        QCOMPARE(fake.opened, (QStringList{path, path}));
        QTest::mouseClick(w.start, Qt::LeftButton);
        QCOMPARE(fake.folderTitles.size(), 1);
    }

    // Clicks and keys that arrive while an export runs reach nothing, then or afterwards: no
    // second export starts and the ticks stay. Enter in the list starts nothing either (the window
    // has no default button), while Enter on the focused button presses it.
    void inputDuringExportIsDiscarded()
    {
        MemoryClient client;
        addPeople(client, 2);
        FakePlatform fake;
        QTemporaryDir dir;
        fake.folderAnswer = dir.path();
        Window *w = nullptr;
        bool sawRunning = false;
        const notes::SessionFactory inner = client.factory();
        Window window([&](const std::string &progId) {
            sawRunning = app::WalkRunner::running();
            postClick(w->start);
            postKey(w->list, Qt::Key_Space);
            postKey(w->list, Qt::Key_Return);
            return inner(progId);
        });
        w = &window;
        w->list->setCurrentRow(1);
        w->list->setFocus();
        QTest::keyClick(w->list, Qt::Key_Return);
        QVERIFY(fake.folderTitles.isEmpty());

        w->tick(QStringLiteral("+0"));
        QSignalSpy clicks(w->start, &QPushButton::clicked);
        w->start->setFocus();
        QTest::keyClick(w->start, Qt::Key_Enter, Qt::KeypadModifier);
        QCoreApplication::processEvents();
        QVERIFY(sawRunning);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(fake.folderTitles.size(), 1);
        QCOMPARE(w->ticks(), QStringLiteral("x") + QString(27, u'.'));
    }
};

QTEST_MAIN(TestFrmConversion)
#include "tst_frmconversion.moc"
