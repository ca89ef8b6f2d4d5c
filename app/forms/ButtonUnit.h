#pragma once
// The user button bar of one character window: one TMyButton per record of the window's button
// list, laid out in rows on a panel (app/core/ButtonBar.h has the rules). A click runs the
// button's command through the window; a double click opens the button dialog; the panel's
// pop-up menu adds a button or closes the bar. The window opens the bar, keeps its pointer and
// tells it when the list is cleared or reloaded; the script editor refreshes it after every
// change. No button outlives its record: a button whose record goes is hidden and unlinked at
// once and freed from the event loop (its own click may be what cleared the list). Dragged by the
// grip along its top, the bar docks on its own character window at the edge it is dropped on
// (leaving the terminal at least half its room, its buttons wrapping to what the bar keeps),
// and floats again as a window of its own when it is dragged off.

#include <vector>

#include "controls/lib/ExSpeedButton.h"
#include "platform/gui/Forms.h"

class TAnsiTerminalForm;
class TDockGrip;
class TExPopupMenu;
class TMenuItem;
class TPanel;
struct cButton;

// A speed button that stands for a button record. The library's speed button reports a double
// click only while it is down, so a push button (group 0) would never get one: this button
// reports every double click the speed button itself does not.
class TMyButton : public TExSpeedButton {
public:
    explicit TMyButton(TComponent* AOwner);
    cButton* Record() const { return FRecord; }
    void SetRecord(cButton* record) { FRecord = record; }
    // False once the button is freed.
    TAliveToken Token() const { return AliveToken(); }

protected:
    void DblClick() override;

private:
    cButton* FRecord = nullptr;
    bool FDblClicked = false;
};

class TButtonForm : public TForm {
public:
    explicit TButtonForm(TAnsiTerminalForm* owner);
    ~TButtonForm() override;

    TPanel* ButtonPanel() const { return FButtonPanel; }
    TDockGrip* ButtonGrip() const { return FGrip; }
    TExPopupMenu* ButtonMenu() const { return FButtonMenu; }
    // The buttons in list order.
    const std::vector<TMyButton*>& Buttons() const { return FButtons; }

    // The refresh: each record without a button gets one, then every button is laid out.
    void FormShowButtons();
    // Every button dropped (the list was cleared or reloaded), then the bar built again.
    void Rebuild();
    // The record's button dropped before the record is freed.
    void DropButton(cButton& record);
    void LayoutButton(cButton& record);

    void MyButtonClick(TMyButton* button);
    void MyButtonDblClick(TMyButton* button);
    void NewButton1Click();
    void CloseButtonClick() { Close(); }

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    void FocusWindow();
    void Drop(TMyButton* button);
    void DropAll();

    TAnsiTerminalForm* FWindow;
    TPanel* FButtonPanel = nullptr;
    TDockGrip* FGrip = nullptr;
    TExPopupMenu* FButtonMenu = nullptr;
    std::vector<TMyButton*> FButtons;
};
