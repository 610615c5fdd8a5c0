#pragma once

#include "FakeServices.h"
#include "GuiTestSupport.h"

#include "app/MainForm.h"
#include "app/TormelWindows.h"
#include "report/export/SpreadsheetExport.h"
#include "session/TormelSession.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace tormel::testing {

// One run of the desktop program with every window, the message boxes, file dialogs and
// help viewer answered by fakes, and no spreadsheet programs unless a test sets one.
struct TestProgram
{
    TestProgram()
    {
        Session = std::make_unique<TormelSession>(Messages, NumberSeparators::russian());
        Windows = std::make_unique<TormelWindows>(*Session, Help, Dialogs, Spreadsheets);
        Windows->showMainWindow();
    }
    ~TestProgram()
    {
        Windows.reset();
        Session.reset();
    }

    TMainForm &main() const { return Windows->MainForm(); }

    template<class T>
    T *find(QWidget *window, const QString &name) const
    {
        T *child = window->findChild<T *>(name);
        if (!child)
            qFatal("no control %s in %s", qPrintable(name), qPrintable(window->objectName()));
        return child;
    }
    QAction *action(const QString &name) const { return find<QAction>(&main(), name); }

    void calculate() const
    {
        QTest::mouseClick(find<QPushButton>(&main(), QStringLiteral("StartBitBtn")),
                          Qt::LeftButton);
    }

    RecordingMessages Messages{Unscripted::Accept};
    RecordingHelp Help;
    RecordingFileDialogs Dialogs;
    SpreadsheetPrograms Spreadsheets;
    std::unique_ptr<TormelSession> Session;
    std::unique_ptr<TormelWindows> Windows;
};

} // namespace tormel::testing
