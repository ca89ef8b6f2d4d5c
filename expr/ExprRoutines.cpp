#include "expr/ExprRoutines.h"

#include <cmath>
#include <numbers>

#include "expr/ExprMath.h"

namespace exprfn {

namespace {

constexpr double kTolerance = 1e-30;

double A(TExpressionRec* e, int i) { return *e->Args[i]; }

bool Truth(double value) { return RoundToInt64(value) != 0; }

double FromBool(bool b) { return b ? 1.0 : 0.0; }

}  // namespace

void Add(TExpressionRec* e) { e->Res = A(e, 0) + A(e, 1); }
void Subtract(TExpressionRec* e) { e->Res = A(e, 0) - A(e, 1); }
void Multiply(TExpressionRec* e) { e->Res = A(e, 0) * A(e, 1); }
// IEEE division: x/0 is infinite or not-a-number, never a trap.
void Divide(TExpressionRec* e) { e->Res = A(e, 0) / A(e, 1); }
void Power(TExpressionRec* e) { e->Res = std::pow(A(e, 0), A(e, 1)); }
void IntegerPower(TExpressionRec* e) { e->Res = WholePower(A(e, 0), A(e, 1)); }
void IntegerDivide(TExpressionRec* e)
{
    e->Res = static_cast<double>(IntDiv(RoundToInt64(A(e, 0)), RoundToInt64(A(e, 1))));
}
void Modulo(TExpressionRec* e) { e->Res = static_cast<double>(IntMod(RoundToInt64(A(e, 0)), RoundToInt64(A(e, 1)))); }
void Negate(TExpressionRec* e) { e->Res = -A(e, 0); }
void Identity(TExpressionRec* e) { e->Res = A(e, 0); }
void FactorialOf(TExpressionRec* e) { e->Res = Factorial(A(e, 0)); }
void Percent(TExpressionRec* e) { e->Res = 0.01 * A(e, 0); }
void Assign(TExpressionRec* e)
{
    double value = A(e, 1);
    *e->Args[0] = value;
    e->Res = value;
}

void Greater(TExpressionRec* e) { e->Res = FromBool(A(e, 0) > A(e, 1)); }
void GreaterOrEqual(TExpressionRec* e) { e->Res = FromBool(A(e, 0) + kTolerance >= A(e, 1)); }
void LessOrEqual(TExpressionRec* e) { e->Res = FromBool(A(e, 0) <= A(e, 1) + kTolerance); }
void Less(TExpressionRec* e) { e->Res = FromBool(A(e, 0) < A(e, 1)); }
void Equal(TExpressionRec* e) { e->Res = FromBool(std::fabs(A(e, 0) - A(e, 1)) < kTolerance); }
void NotEqual(TExpressionRec* e) { e->Res = FromBool(std::fabs(A(e, 0) - A(e, 1)) > kTolerance); }

// Truth values, not bit patterns: the complement of 1 (true) would be -2, still true.
void LogicalNot(TExpressionRec* e) { e->Res = FromBool(!Truth(A(e, 0))); }
void LogicalOr(TExpressionRec* e) { e->Res = FromBool(Truth(A(e, 0)) || Truth(A(e, 1))); }
void LogicalAnd(TExpressionRec* e) { e->Res = FromBool(Truth(A(e, 0)) && Truth(A(e, 1))); }

void BitwiseOr(TExpressionRec* e) { e->Res = static_cast<double>(RoundToInt64(A(e, 0)) | RoundToInt64(A(e, 1))); }
void BitwiseAnd(TExpressionRec* e) { e->Res = static_cast<double>(RoundToInt64(A(e, 0)) & RoundToInt64(A(e, 1))); }
void BitwiseXor(TExpressionRec* e) { e->Res = static_cast<double>(RoundToInt64(A(e, 0)) ^ RoundToInt64(A(e, 1))); }

void Random(TExpressionRec* e) { e->Res = RandomUniform(); }
void RandG(TExpressionRec* e) { e->Res = RandomGauss(A(e, 0), A(e, 1)); }
void Exp(TExpressionRec* e) { e->Res = std::exp(A(e, 0)); }
void Sqr(TExpressionRec* e) { e->Res = A(e, 0) * A(e, 0); }
void Sqrt(TExpressionRec* e) { e->Res = std::sqrt(A(e, 0)); }
void Abs(TExpressionRec* e) { e->Res = std::fabs(A(e, 0)); }
// Halves go to the even neighbour, as the framework rounds.
void Round(TExpressionRec* e) { e->Res = std::nearbyint(A(e, 0)); }
void Trunc(TExpressionRec* e) { e->Res = std::trunc(A(e, 0)); }
void Ln(TExpressionRec* e) { e->Res = std::log(A(e, 0)); }
void Log10(TExpressionRec* e) { e->Res = std::log10(A(e, 0)); }
void Sin(TExpressionRec* e) { e->Res = std::sin(A(e, 0)); }
void Cos(TExpressionRec* e) { e->Res = std::cos(A(e, 0)); }
void Tan(TExpressionRec* e) { e->Res = std::tan(A(e, 0)); }
void ArcSin(TExpressionRec* e) { e->Res = std::asin(A(e, 0)); }
void ArcCos(TExpressionRec* e) { e->Res = std::acos(A(e, 0)); }
void Sinh(TExpressionRec* e) { e->Res = std::sinh(A(e, 0)); }
void Cosh(TExpressionRec* e) { e->Res = std::cosh(A(e, 0)); }
void Tanh(TExpressionRec* e) { e->Res = std::tanh(A(e, 0)); }
void ArcSinh(TExpressionRec* e) { e->Res = std::asinh(A(e, 0)); }
void ArcCosh(TExpressionRec* e) { e->Res = std::acosh(A(e, 0)); }
void ArcTanh(TExpressionRec* e) { e->Res = std::atanh(A(e, 0)); }
void DegToRad(TExpressionRec* e) { e->Res = A(e, 0) * (std::numbers::pi / 180.0); }
void RadToDeg(TExpressionRec* e) { e->Res = A(e, 0) * (180.0 / std::numbers::pi); }
// Any non-zero condition is true, not only one whose low byte is set.
void If(TExpressionRec* e) { e->Res = Truth(A(e, 0)) ? A(e, 1) : A(e, 2); }
void LogN(TExpressionRec* e) { e->Res = std::log(A(e, 1)) / std::log(A(e, 0)); }
void IntPowerFunction(TExpressionRec* e) { e->Res = WholePower(A(e, 0), A(e, 1)); }
void Max(TExpressionRec* e) { e->Res = A(e, 0) > A(e, 1) ? A(e, 0) : A(e, 1); }
void Min(TExpressionRec* e) { e->Res = A(e, 0) < A(e, 1) ? A(e, 0) : A(e, 1); }
void ArcTan2(TExpressionRec* e) { e->Res = std::atan2(A(e, 0), A(e, 1)); }

}  // namespace exprfn
