// Runs only on a real X display (CTest starts it under Xvfb): a real file dialog and a real
// pop-up menu, driven by keys that xdotool types through the X server.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Queue.h"
#include "tests/platform/core/TempFolder.h"


TEST(RealDesktop, FileDialogTakesATypedName)
{
    REQUIRE_REAL_X();
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) << "xdotool is missing";
    TempFolder folder;
    TRealDialogs real;
    TSaveDialog dialog(nullptr);
    dialog.Title = "\xC0\xFA\xC0\xE5";  // 저장
    dialog.DefaultExt = "Wlk";
    dialog.Filter = "Walk files (*.Wlk)|*.Wlk|All files (*.*)|*.*";
    dialog.InitialDir = ProgramPath();
    dialog.Options |= ofNoChangeDir;
    TypeWhenShown([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
                  "xdotool type --delay 30 route && xdotool key --delay 100 Return");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "route.Wlk");
    EXPECT_EQ(dialog.FilterIndex, 1);
}

// The framework keeps the file dialog's view and column widths between runs, for every program
// of the user: the test keeps them in a folder of its own instead, seeded with the detailed view
// and narrow columns, as another program may have left them. The user's own settings are where
// they were after it.
class TOwnDialogSettings {
public:
    TOwnDialogSettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(FFolder.Path()));
        QStandardItemModel columns(0, 4);
        QTreeView view;
        view.setModel(&columns);
        for (int column = 0; column < 4; ++column)
            view.header()->resizeSection(column, 40);
        QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
        settings.setValue(QStringLiteral("FileDialog/treeViewHeader"), view.header()->saveState());
        settings.setValue(QStringLiteral("FileDialog/viewMode"), QStringLiteral("Detail"));
    }
    ~TOwnDialogSettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }

private:
    TempFolder FFolder;
};

// The file list's size, type and date columns were cut ("574...tes"): each is as wide as the
// widest of what it shows and of its heading, whatever widths were kept.
TEST(RealDesktop, RegressionFileDialogShowsSizeTypeAndDateWhole)
{
    REQUIRE_REAL_X("xdotool");
    TOwnDialogSettings settings;
    TempFolder folder;
    TempFolder::Write(folder.File("route.Wlk"), std::string(574, 'n'));
    TempFolder::Write(folder.File("a walk around the whole town and back.Wlk"), std::string(123456, 'n'));
    TRealDialogs real;
    TOpenDialog dialog(nullptr);
    dialog.Filter = "Walk files (*.Wlk)|*.Wlk|All files (*.*)|*.*";
    dialog.InitialDir = StoredPath(folder.Path());
    dialog.Options |= ofNoChangeDir;
    std::vector<std::string> cut;
    TypeWhenShown([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); }, "xdotool key Escape",
                  [&](QWidget* shown) {
                      auto* tree = shown->findChild<QTreeView*>();
                      ASSERT_NE(tree, nullptr);
                      QHeaderView* header = tree->header();
                      // What its rows need, as the view measures them.
                      const QAbstractItemView* details = tree;
                      // The columns follow the rows as the folder is read.
                      const auto whole = [&] {
                          cut.clear();
                          for (int column = 1; column < header->count(); ++column)
                              if (header->sectionSize(column) <
                                  std::max(details->sizeHintForColumn(column), header->sectionSizeHint(column)))
                                  cut.push_back(
                                      header->model()->headerData(column, Qt::Horizontal).toString().toStdString());
                          return details->model()->rowCount(details->rootIndex()) == 2 && cut.empty();
                      };
                      EXPECT_TRUE(WaitUntil(whole, "the size, type and date shown whole"));
                  });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(cut, std::vector<std::string>{});
}

TEST(RealDesktop, PopupChosenByKeysMayFreeItsOwner)
{
    REQUIRE_REAL_X();
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) << "xdotool is missing";
    TRealDialogs real;
    std::vector<std::string> log;
    TForm* form = new TForm(nullptr);
    form->SetBounds(50, 50, 200, 150);
    form->Show();
    auto* popup = new TPopupMenu(form);
    for (const char* caption : {"&Copy", "-", "C&lose"}) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        popup->Items()->Add(item);
    }
    popup->Items()->Items(2)->OnClick = [&](TObject*) {
        log.push_back("close");
        delete form;
    };
    TypeWhenShown([] { return QApplication::activePopupWidget(); }, "xdotool key --delay 100 Down Down Return");
    popup->Popup(80, 80);
    log.push_back("returned");
    EXPECT_TRUE(WaitUntil([&] { return log.size() >= 2; }, "the chosen item's handler"));
    EXPECT_EQ(log, (std::vector<std::string>{"returned", "close"}));
    EXPECT_EQ(Screen->FormCount(), 0);
}
