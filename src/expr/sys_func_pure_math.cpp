// Numeric functions, the logical negation and the random number.
#include <algorithm>
#include <cmath>
#include <random>

#include "expr/param_convert.h"
#include "expr/sys_func_pure.h"

namespace tova::pure {
namespace {

template <long double (*F)(long double)>
void FloatFunction(TSysCall& call) {
    call.Target.SetFloat(F(FloatArg(call, 1)));
}

long double SinOf(long double x) {
    return std::sin(x);
}
long double CosOf(long double x) {
    return std::cos(x);
}
long double TanOf(long double x) {
    return std::tan(x);
}
long double ArcSinOf(long double x) {
    return std::asin(x);
}
long double ArcCosOf(long double x) {
    return std::acos(x);
}
long double ArcTanOf(long double x) {
    return std::atan(x);
}

}  // namespace

void Not(TSysCall& call) {
    call.Target.SetBool(!call.Arg(1).GetBool());
}

void Random(TSysCall& call) {
    const int32_t range = IntArg(call, 1);
    if (!call.Env.Random || range <= 0) return;
    std::uniform_int_distribution<int32_t> distribution(0, range - 1);
    call.Target.SetInt(distribution(*call.Env.Random));
}

void Int(TSysCall& call) {
    call.Target.SetInt(FloatToInt(FloatArg(call, 1)));
}

void Float(TSysCall& call) {
    call.Target.SetFloat(FloatArg(call, 1));
}

void Sin(TSysCall& call) {
    FloatFunction<SinOf>(call);
}
void Cos(TSysCall& call) {
    FloatFunction<CosOf>(call);
}
void Tan(TSysCall& call) {
    FloatFunction<TanOf>(call);
}
void ArcSin(TSysCall& call) {
    FloatFunction<ArcSinOf>(call);
}
void ArcCos(TSysCall& call) {
    FloatFunction<ArcCosOf>(call);
}
void ArcTan(TSysCall& call) {
    FloatFunction<ArcTanOf>(call);
}

void ArcTan2(TSysCall& call) {
    call.Target.SetFloat(std::atan2(FloatArg(call, 1), FloatArg(call, 2)));
}

void Hypot(TSysCall& call) {
    call.Target.SetFloat(std::hypot(FloatArg(call, 1), FloatArg(call, 2)));
}

void Abs(TSysCall& call) {
    // Negated in unsigned arithmetic: the most negative integer stays itself
    // instead of overflowing.
    const int32_t value = IntArg(call, 1);
    call.Target.SetInt(value < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(value)) : value);
}

void Fabs(TSysCall& call) {
    call.Target.SetFloat(std::fabs(FloatArg(call, 1)));
}

void Min(TSysCall& call) {
    call.Target.SetInt(std::min(IntArg(call, 1), IntArg(call, 2)));
}

void Max(TSysCall& call) {
    call.Target.SetInt(std::max(IntArg(call, 1), IntArg(call, 2)));
}

void Fmin(TSysCall& call) {
    call.Target.SetFloat(std::min(FloatArg(call, 1), FloatArg(call, 2)));
}

void Fmax(TSysCall& call) {
    call.Target.SetFloat(std::max(FloatArg(call, 1), FloatArg(call, 2)));
}

}  // namespace tova::pure
