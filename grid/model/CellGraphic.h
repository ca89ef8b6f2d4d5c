#pragma once
// The extra a cell may hold in its Objects slot: a check box, radio group, node, image, picture,
// progress bar, comment, button, rotated text, or only a colour of its own. One per cell at
// most; the grid owns it. The objects it refers to are held by shared ownership, so an object a
// caller passes in stays alive while a cell shows it and is never freed twice.

#include <cstdint>
#include <memory>

#include "grid/model/CellGridTypes.h"
#include "platform/core/Colors.h"
#include "platform/core/Object.h"
#include "platform/core/StringList.h"

class TCellGraphic : public TObject {
public:
    TCellType CellType = ctNone;
    // The kind's object: a bitmap, picture or file picture, the radio choices, the image-index
    // list, the comment or button caption list.
    std::shared_ptr<TObject> CellBitmap;
    // The icon of ctIcon.
    std::shared_ptr<TObject> CellIcon;
    TCellVAlign CellVAlign = vaTop;
    TCellHAlign CellHAlign = haLeft;
    // Image index, selected radio index, node span, picture margin, or button size (width in the
    // low and height in the high 16 bits).
    int32_t CellIndex = 0;
    bool CellTransparent = false;
    // The grid made the object it refers to (false for objects a caller passed).
    bool CellCreated = false;
    // Check box state, node contracted, radio direction, button pushed.
    bool CellBoolean = false;
    // Rotation in degrees, picture stretch mode, the display row a node was added at, or the
    // number of radio choices.
    int16_t CellAngle = 0;
    // The button's place in the cell, written by painting.
    double CellFloat = 0;
    // The cell's own background colour; clNone for none.
    TColor CellColor = clNone;
    // The bar and background colours of ctProgress.
    TColor ProgressColor = clNone;
    TColor ProgressBackColor = clNone;

    void SetBitmap(std::shared_ptr<TObject> ABitmap, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetIcon(std::shared_ptr<TObject> AIcon, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetPicture(std::shared_ptr<TObject> APicture, bool Transparent, TStretchMode StretchMode, int Margin,
                    TCellHAlign HAlign, TCellVAlign VAlign);
    void SetFilePicture(std::shared_ptr<TObject> APicture, bool Transparent, TStretchMode StretchMode, int Margin,
                        TCellHAlign HAlign, TCellVAlign VAlign);
    void SetCheckBox(bool Value, bool Data, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetDataImage(int Index, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetImageIdx(int Index, TCellHAlign HAlign, TCellVAlign VAlign);
    // Side by side when Direction is 0.
    void SetMultiImage(std::shared_ptr<TObject> List, int Direction, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetButton(int Width, int Height, const AnsiString& Caption, TCellHAlign HAlign, TCellVAlign VAlign);
    // Rotated text at an angle brought into 0..360 (360 stays 360).
    void SetAngle(int16_t Angle);

    // The caption of a button or the text of a comment; empty for other kinds.
    TStringList* Lines() const;

private:
    void Place(TCellType Type, TCellHAlign HAlign, TCellVAlign VAlign);
};

// The cell's extra when its slot holds one (whatever else it may hold), else null.
inline TCellGraphic* AsCellGraphic(TObject* object) { return dynamic_cast<TCellGraphic*>(object); }
