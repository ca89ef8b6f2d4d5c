#pragma once
// Registers every standard control class with its published properties (once; later calls do
// nothing), so that GetClass finds them by name. A family adds its classes in its own
// Register...Classes function, listed in StandardClasses.cpp.

void RegisterStandardClasses();
// The base classes every control shares: TComponent, TFont, TControl, TWinControl, TForm.
void RegisterControlClasses();
// Menus and menu items, the common dialogs, and the form's menu, style and resolution.
void RegisterMenuClasses();
void RegisterDialogClasses();
