#pragma once
// The framework's page orientation of a printer.

enum TPrinterOrientation { poPortrait, poLandscape };
