// The built-in functions that work on their arguments alone: strings and
// double-byte strings, file names, arrays, numbers, dates and the
// half-width / full-width conversions. Each takes one call (sys_call.h) and
// writes its result into the call's target, or leaves it at its default.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "expr/sys_call.h"

namespace tova::pure {

// Argument n read in the requested type; the optional forms give fallback
// when the call has fewer arguments.
std::string TextArg(const TSysCall& call, int n);
int32_t IntArg(const TSysCall& call, int n);
long double FloatArg(const TSysCall& call, int n);
bool BoolArg(const TSysCall& call, int n, bool fallback);

// Argument n when it is a reference bound to a variable; otherwise raises
// "<functionName>:変数が見つかりません".
TCustomParam& VariableArg(const TSysCall& call, int n, std::string_view functionName);

// dest[destIndex] := src[srcIndex], read and written in typeCode (PT_INT..PT_STR).
void CopyElementAs(int typeCode, TCustomParam& dest, int destIndex, const TCustomParam& src, int srcIndex);

// Strings (sys_func_pure_strings.cpp).
void IntToStr(TSysCall& call);
void IntToHex(TSysCall& call);
void Length(TSysCall& call);
void Copy(TSysCall& call);
void Delete(TSysCall& call);
void Insert(TSysCall& call);
void CompareStr(TSysCall& call);
void CompareText(TSysCall& call);
void Pos(TSysCall& call);
void Trim(TSysCall& call);
void LowerCase(TSysCall& call);
void UpperCase(TSysCall& call);
void StringOfChar(TSysCall& call);
void StringReplace(TSysCall& call);
void AddDelimiter(TSysCall& call);
void StrToIntDef(TSysCall& call);
void StrToFloatDef(TSysCall& call);
void Chr(TSysCall& call);
void Ord(TSysCall& call);

// Double-byte aware strings (sys_func_pure_jstrings.cpp).
void JLength(TSysCall& call);
void JCopy(TSysCall& call);
void JDelete(TSysCall& call);
void JInsert(TSysCall& call);
void JPos(TSysCall& call);
void JTrim(TSysCall& call);
void FixStr(TSysCall& call);
void IsDelimiter(TSysCall& call);

// File names (sys_func_pure_paths.cpp).
void ExtractFilePath(TSysCall& call);
void ExtractFileName(TSysCall& call);
void ExtractFileExt(TSysCall& call);
void IsPathDelimiter(TSysCall& call);
void AddBackSlash(TSysCall& call);
void ChangeFileExt(TSysCall& call);

// Arrays (sys_func_pure_arrays.cpp).
void GetArraySize(TSysCall& call);
void SetArray(TSysCall& call);
void FillMem(TSysCall& call);
void CopyMem(TSysCall& call);
void ArrayToString(TSysCall& call);
void StringToArray(TSysCall& call);
void IndexOfStr(TSysCall& call);
void SortStr(TSysCall& call);
void AddArray(TSysCall& call);
void InsertArray(TSysCall& call);
void DeleteArray(TSysCall& call);
void CopyArray(TSysCall& call);

// Numbers and logic (sys_func_pure_math.cpp).
void Not(TSysCall& call);
void Random(TSysCall& call);
void Int(TSysCall& call);
void Float(TSysCall& call);
void Sin(TSysCall& call);
void Cos(TSysCall& call);
void Tan(TSysCall& call);
void ArcSin(TSysCall& call);
void ArcCos(TSysCall& call);
void ArcTan(TSysCall& call);
void ArcTan2(TSysCall& call);
void Hypot(TSysCall& call);
void Abs(TSysCall& call);
void Fabs(TSysCall& call);
void Min(TSysCall& call);
void Max(TSysCall& call);
void Fmin(TSysCall& call);
void Fmax(TSysCall& call);

// Dates (sys_func_pure_dates.cpp).
void EncodeDate(TSysCall& call);
void EncodeTime(TSysCall& call);
void DecodeDate(TSysCall& call);
void DecodeTime(TSysCall& call);
void GetYear(TSysCall& call);
void GetMonth(TSysCall& call);
void GetDay(TSysCall& call);
void GetHour(TSysCall& call);
void GetMin(TSysCall& call);
void GetSec(TSysCall& call);
void GetWeek(TSysCall& call);
void GetWeekStr(TSysCall& call);
void GetWeekJStr(TSysCall& call);

// Half-width and full-width forms (sys_func_pure_zenkaku.cpp).
void HanToZen(TSysCall& call);
void ZenToHan(TSysCall& call);

}  // namespace tova::pure
