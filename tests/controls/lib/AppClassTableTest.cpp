// What the running application gives the display-free units: the control classes in the class
// table from the start, so the progress registry drives a TProgressBar, and its forms for the
// references property storage keeps across forms. Each case runs in a program of its own, where
// nothing but the application has filled the class table.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "GuiTestSupport.h"
#include "controls/core/ExPrgrss.h"
#include "controls/core/ExProps.h"
#include "platform/core/StringList.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace {

TEST(AppClassTable, RegressionTheBuiltInProgressBarEntryNeededTheClassTableFilled)
{
    TestApplication();
    TForm form(nullptr);
    auto* bar = new TProgressBar(&form);
    EXPECT_TRUE(SupportsProgressControl(bar));
    EXPECT_TRUE(SetProgressMax(bar, 200));
    EXPECT_TRUE(SetProgressValue(bar, 42));
    EXPECT_EQ(bar->Position(), 42);
    EXPECT_EQ(bar->Max(), 200);
    // A file's size past 32 bits is the largest maximum the bar holds, not a wrapped one.
    EXPECT_TRUE(SetProgressMax(bar, int64_t{5} << 32));
    EXPECT_EQ(bar->Max(), INT32_MAX);
    EXPECT_TRUE(SetProgressMin(bar, -(int64_t{1} << 40)));
    EXPECT_EQ(bar->Min(), INT32_MIN);
}

// A store in memory behind the three hooks alone: read, write, erase a section.
struct TThreeHookStore {
    std::map<std::string, std::string> Values;
    void Attach(TPropsStorage& s)
    {
        s.OnWriteString = [this](const AnsiString& sec, const AnsiString& key, const AnsiString& v) {
            Values[sec + "|" + key] = v;
        };
        s.OnReadString = [this](const AnsiString& sec, const AnsiString& key, const AnsiString& def) {
            auto it = Values.find(sec + "|" + key);
            return it != Values.end() ? AnsiString(it->second) : def;
        };
        s.OnEraseSection = [](const AnsiString&) {};
    }
};

TEST(AppClassTable, RegressionAReferenceToAnotherFormNeededALookupHook)
{
    TestApplication();
    TForm main(nullptr);
    main.SetName("MainForm");
    auto* label = new TLabel(&main);
    label->SetName("Label1");
    auto* other = new TForm(nullptr);
    other->SetName("OtherForm");
    auto* edit = new TEdit(other);
    edit->SetName("Edit1");

    TPropsStorage storage;
    TThreeHookStore store;
    store.Attach(storage);
    storage.Section = "Main";
    TStringList list;
    list.AddObject("Label1.FocusControl", label);

    label->SetFocusControl(edit);
    storage.StoreObjectsProps(&main, &list);
    EXPECT_EQ(store.Values["Main|Label1_FocusControl"], "OtherForm.Edit1");
    label->SetFocusControl(nullptr);
    store.Values["Main|Label1_FocusControl"] = "otherform.EDIT1";
    storage.LoadObjectsProps(&main, &list);
    EXPECT_EQ(label->FocusControl(), edit);

    // Restored only while that form exists.
    label->SetFocusControl(nullptr);
    delete other;
    storage.LoadObjectsProps(&main, &list);
    EXPECT_EQ(label->FocusControl(), nullptr);
}

}  // namespace
