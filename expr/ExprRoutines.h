#pragma once
// The evaluation routines of the built-in operators and functions.

#include "expr/Parseclass.h"

namespace exprfn {

// Arithmetic operators.
void Add(TExpressionRec* Expr);
void Subtract(TExpressionRec* Expr);
void Multiply(TExpressionRec* Expr);
void Divide(TExpressionRec* Expr);
void Power(TExpressionRec* Expr);
void IntegerPower(TExpressionRec* Expr);
void IntegerDivide(TExpressionRec* Expr);
void Modulo(TExpressionRec* Expr);
void Negate(TExpressionRec* Expr);
void Identity(TExpressionRec* Expr);
void FactorialOf(TExpressionRec* Expr);
void Percent(TExpressionRec* Expr);
void Assign(TExpressionRec* Expr);

// Comparisons (1.0 or 0.0).
void Greater(TExpressionRec* Expr);
void GreaterOrEqual(TExpressionRec* Expr);
void LessOrEqual(TExpressionRec* Expr);
void Less(TExpressionRec* Expr);
void Equal(TExpressionRec* Expr);
void NotEqual(TExpressionRec* Expr);

// Logic on truth values (an argument rounded to an integer is true when it is not 0): "not" and
// the C spellings "!", "||" and "&&".
void LogicalNot(TExpressionRec* Expr);
void LogicalOr(TExpressionRec* Expr);
void LogicalAnd(TExpressionRec* Expr);

// "or", "and" and "xor": bit by bit on the arguments rounded to 64-bit integers (saturated, not a
// number as 0), so 6 and 3 is 2.
void BitwiseOr(TExpressionRec* Expr);
void BitwiseAnd(TExpressionRec* Expr);
void BitwiseXor(TExpressionRec* Expr);

// Functions.
void Random(TExpressionRec* Expr);
void RandG(TExpressionRec* Expr);
void Exp(TExpressionRec* Expr);
void Sqr(TExpressionRec* Expr);
void Sqrt(TExpressionRec* Expr);
void Abs(TExpressionRec* Expr);
void Round(TExpressionRec* Expr);
void Trunc(TExpressionRec* Expr);
void Ln(TExpressionRec* Expr);
void Log10(TExpressionRec* Expr);
void Sin(TExpressionRec* Expr);
void Cos(TExpressionRec* Expr);
void Tan(TExpressionRec* Expr);
void ArcSin(TExpressionRec* Expr);
void ArcCos(TExpressionRec* Expr);
void Sinh(TExpressionRec* Expr);
void Cosh(TExpressionRec* Expr);
void Tanh(TExpressionRec* Expr);
void ArcSinh(TExpressionRec* Expr);
void ArcCosh(TExpressionRec* Expr);
void ArcTanh(TExpressionRec* Expr);
void DegToRad(TExpressionRec* Expr);
void RadToDeg(TExpressionRec* Expr);
void If(TExpressionRec* Expr);
void LogN(TExpressionRec* Expr);
void IntPowerFunction(TExpressionRec* Expr);
void Max(TExpressionRec* Expr);
void Min(TExpressionRec* Expr);
void ArcTan2(TExpressionRec* Expr);

}  // namespace exprfn
