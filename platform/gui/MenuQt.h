#pragma once
// Between the menus' logic (Menus.cpp) and their Qt side (MenuQt.cpp).

class QAction;
class QMenu;
class QWidget;
class TMenu;
class TMenuItem;
class TPopupMenu;

struct TMenuQt {
    // A property (structure false) or the sub-item list of the item changed.
    static void ItemChanged(TMenuItem* item, bool structure);
    // The item goes: its Qt objects go with it.
    static void Forget(TMenuItem* item);
    static QMenu* MenuOf(TMenu* menu, TMenuItem* item);
    // Shows the pop-up and returns when it closed; the choice is queued by its action.
    static TMenuItem* RunPopup(TPopupMenu* menu, int x, int y);
    static void Fill(QWidget* target, TMenu* menu, TMenuItem* parent);
    static QAction* ActionOf(TMenu* menu, TMenuItem* item);
    static void Apply(TMenu* menu, TMenuItem* item);
};
