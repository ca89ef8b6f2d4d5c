#pragma once
// The framework's horizontal text alignment.

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
