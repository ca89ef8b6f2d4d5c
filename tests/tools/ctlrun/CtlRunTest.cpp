// The ctlrun tool on directive files: its answers to bad lines and what it prints for the
// controls it drives.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct TRun {
    int Status = -1;
    std::string Out;
};

std::string BinFolder()
{
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    return self.substr(0, self.rfind('/') + 1);
}

TRun RunCtl(const std::string& directives)
{
    char name[] = "/tmp/ctlrun-test-XXXXXX";
    const int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(name, std::ios::binary) << directives;
    TRun run;
    if (FILE* pipe = popen((BinFolder() + "ctlrun " + name + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.Out.append(buffer, got);
        const int status = pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    unlink(name);
    return run;
}

struct TScript {
    const char* name;
    const char* in;
    const char* out;
};

const TScript kScripts[] = {
    {"UnknownDirective", "jump e1\n", "ERROR unknown directive: jump\n"},
    {"MissingArguments", "get e1\nnew TEdit\n", "ERROR missing arguments: get\nERROR missing arguments: new\n"},
    {"UnknownName", "get nobody Text\n", "ERROR unknown name: nobody\n"},
    {"UnknownClass", "new TNothing x\n", "ERROR unknown class: TNothing\n"},
    {"UnknownProperty", "new TEdit e form\nset e Colour 1\n", "ERROR unknown property: Colour\n"},
    {"BadValue", "new TEdit e form\nset e MaxLength ten\nset e ReadOnly maybe\n",
     "ERROR bad value: ten\nERROR bad value: maybe\n"},
    {"UnknownOperationAndEvent", "new TEdit e form\ncall e Explode\nwatch e OnExplode\n",
     "ERROR unknown operation: Explode\nERROR unknown event: OnExplode\n"},
    {"ExceptionNamesItsClass", "new TListBox l form\ncall l ItemText 3\n",
     "ERROR EListError: List index out of bounds (3)\n"},
    {"CommentsAndBlankLinesAreSkipped", "# nothing\n\n   \n", ""},
    {"TypedHangulAndTheByteLimit",
     "new TEdit e form 0 0 100 20\nset e MaxLength 3\nwatch e OnChange\ntype e a\\xC7\\xD1\\xB1\\xDB\nget e Text\n",
     "EVENT e OnChange\nEVENT e OnChange\nBEEP\ne.Text=a\\xC7\\xD1\n"},
    {"ListItemsAndCodeSelectionWithoutEvents",
     "new TListBox l form 0 0 100 80\nwatch l OnClick\ncall l AddItem one\ncall l AddItem two\nset l ItemIndex "
     "1\nget l Items\n",
     "RESULT 0\nRESULT 1\nl.Items=one\\x0D\\x0Atwo\\x0D\\x0A\n"},
    {"EnterPressesTheDefaultButtonThroughTheDialogKey",
     "new TEdit e form 0 0 100 20\nnew TButton b form 0 30 75 25\nset b Default True\nwatch b OnClick\nkey e "
     "Enter\n",
     "EVENT form DialogKey 13\nEVENT b OnClick\n"},
    {"PropertyPathAndDollarHex", "set form Font.Size $0C\nget form Font.Size\n", "form.Font.Size=12\n"},
    {"FormBackgroundPixel", "pixel 399 299\n", "PIXEL C0C0C0\n"},
    // 64 x 16 is four images; a file that does not load leaves the glyph; 9 images are 5, so the
    // glyph-only layout centres a 12 x 16 image: margin 40 / 2 - 16 / 2, x 40 / 2 - 12 / 2.
    {"GlyphStripBadFileAndOutOfRangeValues",
     "util SolidBitmap /tmp/ctlrun-strip.bmp 64 16 clRed\nnew TExSpeedButton b form 10 10 40 40\ncall b LoadGlyph "
     "/tmp/ctlrun-strip.bmp\nget b NumGlyphs\ncall b LoadGlyph /nowhere.bmp\nget b NumGlyphs\nset b NumGlyphs "
     "9\nget b NumGlyphs\nset b Margin -5\nget b Margin\ncall b MapColor clLime\ncall b CalcButtonLayout 0 0 40 "
     "40 blGlyphTop -1 -1 0\n",
     "RESULT\nb.NumGlyphs=4\nERROR EFOpenError: Cannot open file \"/nowhere.bmp\". No such file or "
     "directory\nb.NumGlyphs=4\nb.NumGlyphs=5\nb.Margin=-1\nRESULT 9803157\nRESULT 14 12 20 28 20 28|\n"},
    // The press opens the menu below the left edge and is no click; a click from code is left to
    // the menu; without AutoPopup the press is a click again.
    {"DropDownMenuTakesThePress",
     "new TExSpeedButton b form 10 10 60 40\nnew TPopupMenu menu\nset b DropDownMenu menu\nwatch b OnClick\nclick "
     "b 5 5\ncall b ButtonClick\nset menu AutoPopup False\nclick b 5 5\n",
     "POPUP menu 11 52\nEVENT b OnClick\n"},
    {"GroupedButtonWithAllowAllUpFlipsOnClicksAndPressesFromCode",
     "new TExSpeedButton b form\nset b GroupIndex 1\nset b AllowAllUp True\nwatch b OnClick\nclick b 5 5\nget b "
     "Down\ncall b ButtonClick\nget b Down\n",
     "EVENT b OnClick\nb.Down=True\nEVENT b OnClick\nb.Down=False\n"},
    {"SwitchFiresOnChangesOnly",
     "new TExSwitch s form\nwatch s OnOn\nwatch s OnOff\ncall s ToggleSwitch\nset s StateOn True\ncall s "
     "ToggleSwitch\n",
     "EVENT s OnOn\nEVENT s OnOff\n"},
    // One line after a blank one in a 100 - 2 * 4 pixel high text area: 92 + one step of 30 ms
    // ticks; the child hidden while it plays comes back, the one hidden before stays hidden.
    {"CreditsPanelStopsAtTheEndOfItsRun",
     "new TSecretPanel p form 0 0 150 100\nnew TPanel shown p\nnew TPanel hidden p\nset hidden Visible "
     "False\nwatch p OnStopPlay\ncall p AddLine\ncall p AddLine first\ncall p Play\nget shown Visible\nwait "
     "2790\nget p Active\nwait 30000\nget p Active\nget shown Visible\nget hidden Visible\n",
     "shown.Visible=False\np.Active=True\nEVENT p OnStopPlay\np.Active=False\nshown.Visible=True\nhidden."
     "Visible=False\n"},
    {"CycledCreditsPanelStartsAgain",
     "new TSecretPanel p form 0 0 150 100\nset p Cycled True\ncall p AddLine first\ncall p Play\nwait "
     "30000\nget p Active\n",
     "p.Active=True\n"},
    {"ThreadTimerSwitchedToTheWindowTimerTicksWithWait",
     "new TExTimer t\nset t Threaded False\nset t Interval 100\nwatch t OnTimer\nwait 250\nset t Interval 0\nwait "
     "500\n",
     "EVENT t OnTimer\nEVENT t OnTimer\n"},
    {"WaitCursorNests",
     "util StartWait\nutil StartWait\nutil StopWait\nutil ScreenCursor\nutil StopWait\nutil ScreenCursor\n",
     "RESULT\nRESULT\nRESULT\nRESULT -11\nRESULT\nRESULT 0\n"},
    {"LibraryCursorsAndTexts",
     "util CursorName 14000\nutil CursorName 14001\nutil CursorName 555\nutil LoadStr 61260\n",
     "RESULT EX_HANDCUR\nRESULT EX_DRAGCUR\nRESULT default\nRESULT Next Month|\n"},
    // Three colours on 10 rows: bands of 3 rows, the last row in the end colour.
    {"GradientBandsOnTheFormsPicture",
     "util GradientFillRect 0 0 20 10 clBlack clRed fdTopToBottom 3\npixel 0 2\npixel 0 3\npixel 0 8\npixel 0 9\n",
     "RESULT\nPIXEL 000000\nPIXEL 800000\nPIXEL FF0000\nPIXEL FF0000\n"},
    {"NoIconOnTheClipboard", "util IconFromClipboard /tmp/no-icon.ico\n", "RESULT nil\n"},
    // --- Edits with a button, combo boxes, calendars and spin edits.
    {"ComboEditAltDownAndDoClickEachFireOnce",
     "new TComboEdit e form 0 0 150 21\nwatch e OnButtonClick\nkey e Alt+Down\ncall e DoClick\nset e ReadOnly "
     "True\ncall e DoClick\n",
     "EVENT e OnButtonClick\nEVENT e OnButtonClick\n"},
    {"ComboEditEnterReachesTheDialogKeyThenOnKeyPress",
     "new TComboEdit e form 0 0 150 21\nwatch e OnKeyPress\nkey e Enter\n",
     "EVENT form DialogKey 13\nEVENT e OnKeyPress 13\n"},
    {"SpinEditTimerBoundsClampAndStep",
     "new TExSpinEdit s form 0 0 80 21\nset s MinValue 1\nset s MaxValue 65535\nwatch s OnTopClick\ncall s "
     "SetValue 70000\nget s Text\ncall s UpClick\ncall s SetValue 2.5\nget s Text\nset s Text x\ncall s "
     "GetValue\n",
     "s.Text=65535\nEVENT s OnTopClick\ns.Text=2\nRESULT 1\n"},
    {"SpinEditHexReadsBackItsNegativeText",
     "new TExSpinEdit s form 0 0 80 21\nset s ValueType vtHex\ncall s SetValue -1\nget s Text\ncall s "
     "GetValue\n",
     "s.Text=FFFFFFFFFFFFFFFF\nRESULT -1\n"},
    {"CalendarStepsAndDayTexts",
     "util today 2000-01-31\nnew TExCalendar k form 0 0 210 140\ncall k GoToNextMonth\nget k CalendarDate\nset k "
     "CalendarDate 2000-02-29\ncall k GoToNextYear\nget k CalendarDate\ncall k GetDayText 3 1\ncall k "
     "GetDayText 0 1\n",
     "RESULT\nk.CalendarDate=2000-02-29\nk.CalendarDate=2001-02-28\nRESULT 1\nRESULT \n"},
    {"DateEditDropDownAcceptsTheCalendarsDate",
     "util locale shortdate=dd/mm/yyyy datesep=/\nutil today 2006-03-15\nnew TDateEdit d form 0 0 120 "
     "21\nwatch d OnChange\ncall d PopupDropDown\nget d PopupVisible\ncall d GoToNextMonth\ncall d "
     "PopupCloseUp True\nget d Text\n",
     "RESULT\nRESULT\nd.PopupVisible=True\nEVENT d OnChange\nd.Text=15/04/2006\n"},
    {"SelectDateAnsweredByAnswer",
     "util today 2006-03-15\nanswer 2006-05-01\nnew TDateEdit d form 0 0 120 21\ncall d SelectDate\ncall d "
     "SelectDate\n",
     "RESULT\nDIALOG date|Select a Date|2006-03-15\nRESULT True 2006-05-01\nDIALOG date|Select a "
     "Date|2006-03-15\nRESULT "
     "False\n"},
    {"ColourComboKeepsAColourNotListed",
     "new TColorComboBox c form 0 0 120 21\nwatch c OnChange\nset c ColorValue 255\nget c Text\nset c ColorValue "
     "$00123456\nget c ItemIndex\nget c ColorValue\n",
     "EVENT c OnChange\nc.Text=Red\nEVENT c OnChange\nc.ItemIndex=-1\nc.ColorValue=1193046\n"},
    {"FilenameEditTakesTheFirstDroppedFile",
     "new TFilenameEdit f form 0 0 150 21\nwatch f OnDropFiles\ncall f DropFiles /a b/one.txt|/two.txt\nget f "
     "Text\nget f FileName\n",
     "EVENT f OnDropFiles\nf.Text=\"/a b/one.txt\"\nf.FileName=/a b/one.txt\n"},
    // A bitmap too large to allocate is refused with the framework's error, not attempted.
    {"SolidBitmapTooLargeIsRefused", "util SolidBitmap /tmp/hm-never.bmp 100000 100000 clRed\n",
     "ERROR EOutOfResources: Out of system resources\n"},
    // --- The library as the application's windows use it.
    {"SpeedButtonAsTheWindowsMakeIt",
     "new TExSpeedButton b form\nget b Width\nget b Height\nget b Spacing\nget b Margin\nget b ShowHint\n",
     "b.Width=25\nb.Height=25\nb.Spacing=1\nb.Margin=-1\nb.ShowHint=True\n"},
    // \xC7\xD1 is 한.
    {"StatusLineCaptionAndDoubleClick",
     "new TExLabel status form 0 280 400 17\nset status Caption \\xC7\\xD1 1\nwatch status OnDblClick\ndblclick "
     "status 5 5\nget status Caption\n",
     "EVENT status OnDblClick\nstatus.Caption=\\xC7\\xD1 1\n"},
    {"PopupMenuOpensAtThePointAndItsItemsClick",
     "new TExPopupMenu copy\ncall copy AddMenuItem &Copy\ncall copy AddMenuItem -\ncall copy AddMenuItem Copy "
     "&All\nget copy OwnerDraw\ncall copy Popup 30 40\ncall copy Choose Copy &All\n",
     "copy.OwnerDraw=False\nPOPUP copy 30 40\nEVENT copy OnClick Copy &All\n"},
    {"MainMenuItemsClick",
     "new TExMainMenu main\ncall main AddMenuItem &File/&Open\nget main OwnerDraw\ncall main Choose &File/&Open\n",
     "main.OwnerDraw=False\nEVENT main OnClick &File/&Open\n"},
    // The history picker: sorted lines, a double click picks one and sends it (\xB5\xBF\xC2\xCA is 동쪽).
    {"RegressionDoubleClickOnAListLineFiredNothing",
     "new TTextListBox history form 0 0 200 80\nset history Sorted True\ncall history AddItem south\ncall history "
     "AddItem \\xB5\\xBF\\xC2\\xCA\ncall history AddItem east\nwatch history OnDblClick\ndblclick history 5 "
     "20\nget history ItemIndex\nget history Items\n",
     "RESULT 0\nRESULT 1\nRESULT 0\nEVENT history "
     "OnDblClick\nhistory.ItemIndex=1\nhistory.Items=east\\x0D\\x0Asouth\\x0D\\x0A\\xB5\\xBF\\xC2\\xCA\\x0D\\x0A\n"},
    // The timer dialog's fields: a disabled field's button steps nothing.
    {"SpinEditDisabledIgnoresItsButton",
     "new TExSpinEdit s form 100 100 80 21\nset s MinValue 1\nset s MaxValue 65535\ncall s SetValue 7\nset s "
     "Enabled False\nwatch s OnTopClick\nclick s 70 3\nget s Text\nset s Enabled True\nclick s 70 3\nget s Text\n",
     "s.Text=7\nEVENT s OnTopClick\ns.Text=8\n"},
};

class CtlRunScript : public ::testing::TestWithParam<TScript> {};

TEST_P(CtlRunScript, Prints)
{
    TRun run = RunCtl(GetParam().in);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Lines, CtlRunScript, ::testing::ValuesIn(kScripts),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CtlRunFile, UnreadableFileExitsWithTwo)
{
    const int status = system((BinFolder() + "ctlrun /nonexistent/directives 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

TEST(CtlRunFile, PutAppendsLinesThatCatReads)
{
    char folder[] = "/tmp/ctlrun-files-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/out.txt";
    TRun run = RunCtl("put " + file + " first\nput " + file + " \\xC7\\xD1\ncat " + file + "\n");
    EXPECT_EQ(run.Out, "LINE first\nLINE \\xC7\\xD1\nCRLF yes\n");
    unlink(file.c_str());
    rmdir(folder);
}

}  // namespace
