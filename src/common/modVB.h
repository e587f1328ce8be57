#pragma once
// Behaviour of the original runtime that stored files and visible texts rely on:
// rounding, number parsing and formatting, letter case, twips.
#include <QDate>
#include <QTime>
#include <QLocale>
#include <QString>

namespace vb {

// Round half to even, as the runtime's CInt/CLng/Round do.
double Round(double v);
// Round to `digits` decimal places, half to even.
double Round(double v, int digits);
int CInt(double v);

// Val(): the leading number of a text; blanks, tabs and line feeds are ignored anywhere,
// "&H"/"&O" prefixes give hexadecimal and octal; no number gives 0.
double Val(const QString& text);

// Numeric conversion of a text (CDbl): surrounding blanks allowed, nothing else.
// `ok` is false when the text is not a number.
double ToDouble(const QString& text, bool* ok = nullptr);
bool IsNumeric(const QString& text);

// A setting or text that holds a number equal to `n` ("1", " 1 ", "1.0").
bool EqualsNumber(const QString& text, double n);

// Format(n, fmt) for formats made of '0' and '#' ("0#", "00#"): at least as many
// digits as the format has from its first '0' on.
QString FormatNumber(long long n, const QString& fmt);

// CStr of a number: integral values without a fraction, others with up to 15 digits.
QString CStr(double v);

// StrConv(text, vbProperCase): first letter of each word upper case, the rest lower.
QString ProperCase(const QString& text);

// Text comparison that ignores letter case (Option Compare Text / vbTextCompare).
int CompareText(const QString& a, const QString& b);
bool EqualText(const QString& a, const QString& b);

// Twips: 15 to the pixel at 96 dpi.
constexpr int TwipsPerPixel = 15;
inline int TwipsToPixels(double twips) { return CInt(twips / TwipsPerPixel); }
inline double PixelsToTwips(int pixels) { return double(pixels) * TwipsPerPixel; }

// DoEvents(): lets pending window messages run, at most every 50 ms so that long loops
// stay responsive without being slowed down by the event loop.
void DoEventsThrottled();

// The date in the locale's short format with the year in four digits, as the system's
// short date shows it (08.12.2026 in German, 12/8/2026 in American English).
QString ShortDate(const QDate& date, const QLocale& locale = QLocale());
// The time of day in the locale's long format without the time zone (13:05:09, 1:05:09 PM).
QString TimeOfDay(const QTime& time = QTime::currentTime(), const QLocale& locale = QLocale());

// Trim(): removes leading and trailing blanks (spaces only, as the runtime does).
QString Trim(const QString& text);

// Time: the time of day in the system's long time format, without the time zone.
QString TimeText();

} // namespace vb
