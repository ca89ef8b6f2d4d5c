#pragma once
// The about box: the program's name and version, a credit, a comment, a notice that the program
// belongs to no particular game, and two links (web and mail) that open with the desktop.

#include "platform/gui/Forms.h"

class TLabel;

class TAboutBox : public TForm {
public:
    explicit TAboutBox(TComponent* AOwner);

    TLabel* Version() const { return FVersion; }
    TLabel* StaticText1() const { return FWeb; }
    TLabel* StaticText2() const { return FMail; }
    void StaticText1Click();
    void StaticText2Click();

protected:
    void DoShow() override;

private:
    TLabel* FVersion = nullptr;
    TLabel* FWeb = nullptr;
    TLabel* FMail = nullptr;
};
