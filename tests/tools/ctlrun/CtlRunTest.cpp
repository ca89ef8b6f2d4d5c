// The ctlrun tool on directive files: its answers to bad lines and what it prints for the
// controls it drives.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/TempName.h"
#include "tests/controls/core/IconBytes.h"

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

// ctlrun on the directives, in a folder of their own that "$D/" names in them.
TRun RunCtl(std::string directives)
{
    std::string folder = TempPattern("ctlrun-test");
    EXPECT_NE(mkdtemp(folder.data()), nullptr);
    for (size_t at = directives.find("$D/"); at != std::string::npos; at = directives.find("$D/", at + folder.size()))
        directives.replace(at, 2, folder);
    const std::string name = folder + "/run.ctl";
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
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
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
     "util SolidBitmap $D/ctlrun-strip.bmp 64 16 clRed\nnew TExSpeedButton b form 10 10 40 40\ncall b LoadGlyph "
     "$D/ctlrun-strip.bmp\nget b NumGlyphs\ncall b LoadGlyph /nowhere.bmp\nget b NumGlyphs\nset b NumGlyphs "
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
    {"NoIconOnTheClipboard", "util IconFromClipboard $D/no-icon.ico\n", "RESULT nil\n"},
    // Menus: an item by its captions, "&" or not; a disabled item takes no choice.
    {"MainMenuItemByCaptionPath",
     "new TMainMenu mm\nset form Menu mm\ncall mm AddMenuItem &File/&Open\nmenu mm File/Open\nmenu mm "
     "&File/&Open\nmenu mm File/Shut\nmenu mm File\n",
     "EVENT mm OnClick &File/&Open\nEVENT mm OnClick &File/&Open\nERROR unknown menu item: File/Shut\n"},
    {"PopupItemChosenAfterThePopupReturned",
     "new TPopupMenu pm\ncall pm AddMenuItem &Copy\nwatch pm OnPopup\npopup pm 10 20\nchoose Copy\n",
     "EVENT pm OnPopup\nPOPUP pm 10 20\nEVENT pm OnClick &Copy\n"},
    {"ChooseWithoutAPopup", "choose Copy\n", "ERROR no pop-up menu shown\n"},
    {"ChooseAfterThePopupWasFreed", "new TPopupMenu pm\ncall pm AddMenuItem Copy\npopup pm 1 2\nfree pm\nchoose Copy\n",
     "POPUP pm 1 2\nERROR no pop-up menu shown\n"},
    // Dialogs: each prints its kind and title and takes the pending answer, else Cancel.
    {"OpenDialogTakesANativePath",
     "new TOpenDialog od\nset od Title Pick\nanswer /tmp/a\\x20b.txt\ncall od Execute\nget od FileName\ncall od "
     "Execute\n",
     "DIALOG open|Pick\nRESULT True\nod.FileName=\\\\tmp\\\\a b.txt\nDIALOG open|Pick\nRESULT False\n"},
    {"SaveDialogAnsweredCancel", "new TSaveDialog sd\nanswer cancel\ncall sd Execute\n",
     "DIALOG save|\nRESULT False\n"},
    {"ColorAndFontDialogs",
     "new TColorDialog cd\nanswer clRed\ncall cd Execute\nget cd Color\nnew TFontDialog fd\nanswer "
     "Courier,14\ncall fd Execute\nget fd Font.Size\n",
     "DIALOG color|\nRESULT True\ncd.Color=255\nDIALOG font|\nRESULT True\nfd.Font.Size=14\n"},
    {"InputFolderAndPrintDialogs",
     "answer \\xC7\\xD1\nutil InputQuery Ask Name old\nutil InputBox Ask Name kept\nanswer /tmp\nutil "
     "SelectDirectory Where / /\nnew TPrintDialog pd\ncall pd Execute\n",
     "DIALOG input|Ask\nRESULT True \\xC7\\xD1\nDIALOG input|Ask\nRESULT kept\nDIALOG dir|Where\nRESULT True "
     "\\\\tmp\nDIALOG print|\nRESULT False\n"},
    // Window hooks: a watched BeforeMessage prints the number in hex; default sections.
    {"WatchedBeforeMessagePrintsTheNumberInHex",
     "new TPanel p form 0 0 10 10\nnew TExWindowHook h\nset h WinControl p\nwatch h BeforeMessage\ncall p Perform "
     "1025\nutil GetDefaultSection p\nutil GetDefaultSection h\nutil GetDefaultSection form\n",
     "EVENT h BeforeMessage $0401\nRESULT 0\nRESULT TForm1p\nRESULT TForm1.h\nRESULT TForm1\n"},
    {"BrowseDialogsForAFolderAndAComputer",
     "answer /tmp/\nutil BrowseDirectory / Pick\nutil BrowseComputer - Host\nanswer mud.example.org\nutil "
     "BrowseComputer - Host\n",
     "DIALOG dir|Pick\nRESULT True \\\\tmp\nDIALOG input|Host\nRESULT False\nDIALOG input|Host\nRESULT True "
     "mud.example.org\n"},
    {"MessageDlgIsABox", "answer No\nutil MessageDlg mtConfirmation mbYes,mbNo Go on?\n",
     "BOX Confirm|Go on?\nRESULT mrNo\n"},
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
    // Files from a file manager: refused whole without AcceptFiles (no address typed), else
    // they reach OnDropFiles; plain text goes in as into any edit.
    {"RegressionFilesDroppedFromAFileManager",
     "new TFilenameEdit f form 0 0 150 21\nset f Text kept\nwatch f OnDropFiles\ndrop f 20 5 file /tmp/a.txt\nget f "
     "Text\nset f AcceptFiles True\ndrop f 20 5 file /tmp/a.txt /tmp/b.txt\nget f Text\ndrop f 20 5 text x\n",
     "RESULT none\nf.Text=kept\nEVENT f OnDropFiles\nRESULT copy\nf.Text=\\\\tmp\\\\a.txt\nRESULT copy\n"},
    {"FileEditStyleAndHistoryListStayWithANewDialogKind",
     "new TFilenameEdit f form 0 0 150 21\nset f FileEditStyle fsComboBox\nset f HistoryList a.txt\nset f "
     "DialogKind dkSave\nget f FileEditStyle\nget f HistoryList\n",
     "f.FileEditStyle=fsComboBox\nf.HistoryList=a.txt\\x0D\\x0A\n"},
    // A bitmap too large to allocate is refused with the framework's error, not attempted.
    {"SolidBitmapTooLargeIsRefused", "util SolidBitmap $D/hm-never.bmp 100000 100000 clRed\n",
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
    // --- List boxes, owner-drawn menus and the speed bar.
    {"TextListRangeFollowsTheWidestLine",
     "new TTextListBox l form 0 0 60 80\ncall l AddItem ab\ncall l HorizontalExtent\ncall l AddItem a much wider "
     "line\ncall l HorizontalExtent\ncall l DeleteItem 0\ncall l HorizontalExtent\ncall l AddItem ab\ncall l "
     "DeleteItem 0\ncall l HorizontalExtent\ncall l Clear\ncall l HorizontalExtent\n",
     "RESULT 0\nRESULT 20\nRESULT 1\nRESULT 107\nRESULT 107\nRESULT 1\nRESULT 20\nRESULT 0\n"},
    {"CheckListRadioKeepsOneCheck",
     "new TExCheckListBox c form 0 0 100 80\ncall c AddItem a\ncall c AddItem b\nset c CheckKind "
     "ckRadioButtons\ncall c SetState 1 cbChecked\ncall c SetChecked 1 False\ncall c GetState 0\ncall c GetState "
     "1\nget c CheckedIndex\n",
     "RESULT 0\nRESULT 1\nRESULT cbUnchecked\nRESULT cbChecked\nc.CheckedIndex=1\n"},
    {"CheckListGrayCyclingAndDisabledItems",
     "new TExCheckListBox c form 0 0 100 80\ncall c AddItem a\nset c AllowGrayed True\ncall c ToggleClickCheck "
     "0\ncall c GetState 0\ncall c ToggleClickCheck 0\ncall c GetState 0\ncall c SetItemEnabled 0 False\ncall c "
     "ToggleClickCheck 0\ncall c GetState 0\ncall c SetState 0 cbWhatever\n",
     "RESULT 0\nRESULT cbGrayed\nRESULT cbChecked\nRESULT cbChecked\nERROR bad value: cbWhatever\n"},
    {"CheckListStatesSavedUnderItsSection",
     "new TExCheckListBox c form 0 0 100 80\ncall c AddItem a\ncall c AddItem b\ncall c AddItem c\ncall c SetState "
     "0 cbChecked\ncall c SetState 2 cbGrayed\ncall c SaveStates "
     "$D/ctlrun-states.ini\ncat $D/ctlrun-states.ini\ncall c SetState 0 cbUnchecked\ncall c RestoreStates "
     "$D/ctlrun-states.ini\ncall c GetState 0\n",
     "RESULT 0\nRESULT 1\nRESULT 2\nLINE [TForm1c]\nLINE Count=3\nLINE Item0=1\nLINE Item1=0\nLINE Item2=2\nCRLF "
     "yes\nRESULT cbChecked\n"},
    {"OwnerDrawComesWithTheFirstImage",
     "new TExPopupMenu pm\ncall pm AddMenuItem &Open\ncall pm AddMenuItem -\nnew TImageList il\nset pm Images "
     "il\nget pm OwnerDraw\ncall il AddColor clRed\nget pm OwnerDraw\ncall pm MeasureItem -\nset pm LeftMargin "
     "20\ncall pm SelectItem mouse Open\ncall pm SelectItem keys Open\n",
     "pm.OwnerDraw=False\nRESULT 0\npm.OwnerDraw=True\nRESULT 37 9\nRESULT 0\nRESULT 0\n"},
    {"SpeedBarGridStepsAndAutoPosition",
     "new TSpeedBar bar form\ncall bar GridSize\nset bar BtnWidth 23\ncall bar GridSize\nset bar BtnWidth "
     "25\ncall bar GridSize\nset bar BtnWidth 1\ncall bar GridSize\nset bar Align alClient\nset bar Position "
     "bpCustom\nset bar Align alClient\nget bar Orientation\nget bar Height\n",
     "RESULT 8 23\nRESULT 1 23\nRESULT 5 23\nRESULT 1 23\nERROR ESpeedbarError: Cannot set this property value "
     "while Position is bpAuto\nbar.Orientation=boHorizontal\nbar.Height=300\n"},
    {"SpeedBarSectionsNumberAndClamp",
     "new TSpeedBar bar form\ncall bar AddSection File\ncall bar AddSection File\ncall bar SectionCaption 1\ncall "
     "bar SectionCaption 1 File\ncall bar AddSection Edit\ncall bar SetSectionIndex 0 99\ncall bar SearchSection "
     "File\ncall bar NewItem 5 Lost\n",
     "RESULT 0\nRESULT 1\nRESULT File (1)\nERROR ESpeedbarError: String list does not allow duplicates\nRESULT "
     "2\nRESULT 2\nRESULT 2\nRESULT nil\n"},
    {"SpeedItemHintFollowsItsCaptionAndTopStaysBelowTheMargin",
     "new TSpeedBar bar form\ncall bar AddSection File\ncall bar NewItem 0 Open\nget Open Hint\nset Open Hint "
     "Open|Opens a file\nset Open Caption Save\nget Open Hint\nset Open Top 0\nget Open Top\nwatch Open "
     "OnClick\n",
     "RESULT 0\nRESULT Open\nOpen.Hint=Open|\nOpen.Hint=Save|Opens a file\nOpen.Top=3\n"},
    // The item answers for its button's properties and events.
    {"SpeedItemPassesOnItsButtonsPropertiesAndEvents",
     "new TSpeedBar bar form\ncall bar AddSection File\ncall bar NewItem 0 Open\nget Open Glyph\nset Open "
     "AllowTimer True\nget Open AllowTimer\nget Open MarkDropDown\nset Open Font.Size 12\nget Open ParentFont\nset "
     "Open Tag 5\nget Open Tag\nset Open Visible True\nwatch Open OnMouseDown\nwatch Open OnMouseUp\nwatch Open "
     "OnClick\nmouse bar down 10 10\nmouse bar up 10 10\n",
     "RESULT 0\nRESULT Open\nOpen.Glyph=(null)\nOpen.AllowTimer=True\nOpen.MarkDropDown=True\nOpen.ParentFont="
     "False\nOpen.Tag=5\nEVENT Open OnMouseDown mbLeft [ssLeft] 10 7\nEVENT Open OnMouseUp mbLeft [] 10 7\nEVENT "
     "Open OnClick\n"},
    {"SpeedBarLayoutSavedInOrderAndRestored",
     "new TSpeedBar bar form\nset bar Height 37\ncall bar AddSection File\ncall bar NewItem 0 Open\ncall bar "
     "NewItem 0 Save\ncall bar NewItem 0 Hidden\nset Open Left 3\nset Open Visible True\nset Save Left 27\nset Save "
     "Visible True\ncall bar SaveLayout $D/ctlrun-layout.ini\ncat $D/ctlrun-layout.ini\nset Open Visible "
     "False\nset Hidden Visible True\ncall bar RestoreLayout $D/ctlrun-layout.ini\nget Hidden Visible\nget Open "
     "Visible\nget Open Left\n",
     "RESULT 0\nRESULT Open\nRESULT Save\nRESULT Hidden\nLINE [TForm1bar]\nLINE Position=1\nLINE Width=37\nLINE "
     "Version=0\nLINE PixelsPerInch=96\nLINE BtnWidth=24\nLINE BtnHeight=23\nLINE Button1=Open,3,3\nLINE "
     "Button2=Save,27,3\nLINE Count=2\nCRLF yes\nHidden.Visible=False\nOpen.Visible=True\nOpen.Left=3\n"},
    // An edited layout: an entry past a missing one is read, a place is cut to the screen.
    {"RegressionSpeedBarLayoutCountAndPlaceFromAnEditedFile",
     "new TSpeedBar bar form\ncall bar AddSection File\ncall bar NewItem 0 Open\ncall bar NewItem 0 Save\nutil "
     "IniWriteString $D/ctlrun-edited.ini TForm1bar PixelsPerInch 96\nutil IniWriteString $D/ctlrun-edited.ini "
     "TForm1bar Count 2000000000\nutil IniWriteString $D/ctlrun-edited.ini TForm1bar Button1 "
     "Open,2147483647,0\nutil IniWriteString $D/ctlrun-edited.ini TForm1bar Button3 Save,9,3\ncall bar "
     "RestoreLayout $D/ctlrun-edited.ini\nget Open Visible\nget Open Left\nget Save Visible\n",
     "RESULT 0\nRESULT Open\nRESULT Save\nRESULT\nRESULT\nRESULT\nRESULT\nOpen.Visible=True\nOpen.Left=32767\nSave."
     "Visible=True\n"},
    {"CustomizeTwiceOneWindowClosedWithItsBar",
     "new TSpeedBar bar form\nwatch bar OnCustomize\ncall bar Customize\ncall bar Customize\ncall bar "
     "SetupWindows\nget bar Editing\nfree bar\ncall form SetupWindows\n",
     "RESULT 1\nbar.Editing=True\nRESULT 0\n"},
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
    std::string folder = TempPattern("ctlrun-files");
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string file = std::string(folder) + "/out.txt";
    TRun run = RunCtl("put " + file + " first\nput " + file + " \\xC7\\xD1\ncat " + file + "\n");
    EXPECT_EQ(run.Out, "LINE first\nLINE \\xC7\\xD1\nCRLF yes\n");
    unlink(file.c_str());
    rmdir(folder.c_str());
}

TEST(CtlRunFile, PlacementAndStorageReadBackWhatTheyWrote)
{
    std::string folder = TempPattern("ctlrun-placement");
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string ini = std::string(folder) + "/p.ini";
    TRun run =
        RunCtl("new TEdit e form 0 0 50 20\nset e Text hello\nnew TFormStorage fs\nset fs IniFileName " + ini +
               "\nset fs StoredProps e.Text\\nnobody.Text\nwatch fs OnRestorePlacement\nwatch fs "
               "OnSavePlacement\ncall fs SaveFormPlacement\nset form Left 60\ncall fs "
               "RestoreFormPlacement\ncall fs SaveFormPlacement\nset form Left 90\nset e Text changed\ncall fs "
               "RestoreFormPlacement\nget form Left\nget e Text\nget fs StoredProps\ncall fs EraseSections\ncat " +
               ini + "\n");
    EXPECT_EQ(run.Out,
              "EVENT fs OnRestorePlacement\nEVENT fs OnSavePlacement\nEVENT fs OnRestorePlacement\nform.Left=60\ne."
              "Text=hello\nfs.StoredProps=e.Text\\x0D\\x0A\nCRLF no\n");
    unlink(ini.c_str());
    rmdir(folder.c_str());
}

// The folder browser's window moved as by a person: its first choice, OnInitialized, then one
// OnSelChanged a move.
TEST(CtlRunFile, RegressionFolderBrowserEventsFollowTheMoves)
{
    std::string folder = TempPattern("ctlrun-browse");
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string root = folder, a = root + "/a", b = a + "/b";
    ASSERT_EQ(system(("mkdir -p " + b).c_str()), 0);
    TRun run = RunCtl("new TBrowseFolderDlg d\nset d FolderName " + b +
                      "\nwatch d OnInitialized\nwatch d OnSelChanged\nbrowse up up " + a +
                      " ok\ncall d Execute\nget d CurrentSelection\n");
    // Printed as a program path, each backslash escaped.
    const auto printed = [](const std::string& native) {
        std::string out;
        for (char ch : native)
            out += ch == '/' ? std::string("\\\\") : std::string(1, ch);
        return out;
    };
    EXPECT_EQ(run.Out,
              "EVENT d OnSelChanged " + printed(b) + "\nEVENT d OnInitialized\nEVENT d OnSelChanged " + printed(a) +
                  "\nEVENT d OnSelChanged " + printed(root) + "\nEVENT d OnSelChanged " + printed(a) +
                  "\nRESULT True\nd.CurrentSelection=" + printed(a) + "\n");
    ASSERT_EQ(system(("rm -r " + root).c_str()), 0);
}

TEST(CtlRunFile, RegressionPicturePastesTheCopiedIcon)
{
    std::string folder = TempPattern("ctlrun-icon");
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string icon = std::string(folder) + "/i.ico";
    std::ofstream(icon, std::ios::binary) << iconbytes::IconFile({iconbytes::Image(24, 24, 32)});
    TRun run = RunCtl("util CopyIconToClipboard " + icon + " clWhite\nutil PictureFromClipboard\n");
    EXPECT_EQ(run.Out, "RESULT\nRESULT TIcon 24 24\n");
    unlink(icon.c_str());
    rmdir(folder.c_str());
}

// OK on a file: the dialog refuses it as it does for a person, and the run goes on with the
// next steps (cancelling after the last) instead of waiting for ever.
TEST(CtlRunFile, RegressionBrowseOkOnAFileEndsTheDialog)
{
    std::string folder = TempPattern("ctlrun-browse-file");
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string file = folder + "/notes.txt";
    std::ofstream(file) << "notes";
    TRun run = RunCtl("new TBrowseFolderDlg d\nbrowse " + file + " ok\ncall d Execute\nbrowse " + file + " ok " +
                      folder + " ok\ncall d Execute\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "RESULT False\nRESULT True\n");
    unlink(file.c_str());
    rmdir(folder.c_str());
}

}  // namespace
