#include "common/modVB.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTime>

#include <cfenv>
#include <cmath>
#include <limits>

namespace vb {

double Round(double v)
{
    const int old = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    std::fesetround(old);
    return r;
}

double Round(double v, int digits)
{
    const double scale = std::pow(10.0, digits);
    return Round(v * scale) / scale;
}

int CInt(double v)
{
    // Beyond int the runtime stopped with an overflow; a number read from a damaged file
    // is held at the nearest end instead (no number at all: 0).
    const double r = Round(v);
    if (std::isnan(r)) return 0;
    if (r <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    if (r >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return static_cast<int>(r);
}

static int digitValue(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

static bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

double Val(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c)) s.append(c);
    if (s.startsWith(u'&') && s.size() > 1) {
        const QChar k = s.at(1).toUpper();
        int base = k == u'H' ? 16 : (k == u'O' ? 8 : 0);
        if (base) {
            qint64 v = 0;
            int i = 2;
            for (; i < s.size(); ++i) {
                const int d = digitValue(s.at(i));
                if (d < 0 || d >= base) break;
                v = v * base + d;
            }
            if (base == 16 && i - 2 <= 4 && v >= 0x8000 && v <= 0xFFFF) v -= 0x10000; // Integer wrap
            return double(v);
        }
    }
    int i = 0;
    QString num;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) num.append(s[i++]);
    bool digits = false, dot = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128) { num.append(c); digits = true; }
        else if (c == u'.' && !dot) { num.append(c); dot = true; }
        else break;
    }
    if (digits && i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        QString exp = QStringLiteral("e");
        int j = i + 1;
        if (j < s.size() && (s[j] == u'-' || s[j] == u'+')) exp.append(s[j++]);
        bool expDigits = false;
        for (; j < s.size() && s[j].isDigit() && s[j].unicode() < 128; ++j) { exp.append(s[j]); expDigits = true; }
        if (expDigits) num.append(exp);
    }
    if (!digits) return 0.0;
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok ? v : 0.0;
}

double ToDouble(const QString& text, bool* ok)
{
    const QString t = text.trimmed();
    bool good = false;
    double v = 0;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        v = double(t.mid(2).toLongLong(&good, 16));
    } else if (!t.isEmpty()) {
        v = t.toDouble(&good);
    }
    if (ok) *ok = good;
    return good ? v : 0.0;
}

bool IsNumeric(const QString& text)
{
    bool ok = false;
    ToDouble(text, &ok);
    return ok;
}

bool EqualsNumber(const QString& text, double n)
{
    bool ok = false;
    const double v = ToDouble(text, &ok);
    if (!ok) return text.trimmed().isEmpty() && n == 0; // an empty value counts as 0
    return v == n;
}

QString FormatNumber(long long n, const QString& fmt)
{
    const int firstZero = fmt.indexOf(u'0');
    const int width = firstZero < 0 ? 0 : int(fmt.size() - firstZero);
    const bool neg = n < 0;
    QString digits = QString::number(neg ? -n : n);
    if (digits.size() < width) digits.prepend(QString(width - digits.size(), u'0'));
    if (width == 0 && n == 0) digits.clear();
    return neg ? QStringLiteral("-") + digits : digits;
}

QString CStr(double v)
{
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', 15);
}

QString ProperCase(const QString& text)
{
    QString out = text.toLower();
    bool start = true;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0)) {
            start = true;
        } else if (start) {
            out[i] = c.toUpper();
            start = false;
        }
    }
    return out;
}

int CompareText(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive); }
bool EqualText(const QString& a, const QString& b) { return CompareText(a, b) == 0; }

void DoEventsThrottled()
{
    static QElapsedTimer last;
    if (last.isValid() && last.elapsed() < 50) return;
    QCoreApplication::processEvents();
    last.restart();
}

QString Trim(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == u' ') ++b;
    while (e > b && text[e - 1] == u' ') --e;
    return text.mid(b, e - b);
}

QString TimeText()
{
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(u't');
    return QTime::currentTime().toString(format.trimmed());
}

QString ShortDate(const QDate& date, const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) {
        const qsizetype at = format.indexOf(QLatin1String("yy"));
        if (at >= 0) format.replace(at, 2, QStringLiteral("yyyy"));
    }
    return locale.toString(date, format);
}

QString TimeOfDay(const QTime& time, const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(u't');   // the time zone is not part of it
    return time.toString(format.trimmed());
}

} // namespace vb
