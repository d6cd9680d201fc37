#include "TkColors.h"

#include <math.h>

namespace {

// The process-wide table; entry 52 is the classic shadow grey before the first refresh.
COLORREF g_table[TK_COLOR_COUNT] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0C0C0};

// Colours are compared in a weighted RGB space: red counts 195/255, green 390/255, blue 65/255,
// so that a colour's co-ordinates run up to 195, 390 and 65 and white is about 442 from black.
struct Weighted {
    double r, g, b;
};

const double kMaxR = 195.0, kMaxG = 390.0, kMaxB = 65.0;

Weighted ToWeighted(COLORREF clr)
{
    return {GetRValue(clr) * kMaxR / 255.0, GetGValue(clr) * kMaxG / 255.0, GetBValue(clr) * kMaxB / 255.0};
}

int ClipChannel(double v)
{
    int n = (int)(v + 0.5);
    return n < 0 ? 0 : (n > 255 ? 255 : n);
}

COLORREF FromWeighted(const Weighted& w)
{
    return RGB(ClipChannel(w.r * 255.0 / kMaxR), ClipChannel(w.g * 255.0 / kMaxG), ClipChannel(w.b * 255.0 / kMaxB));
}

double Distance(const Weighted& a, const Weighted& b)
{
    double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return sqrt(dr * dr + dg * dg + db * db);
}

double Brightness(COLORREF clr) { return Distance(ToWeighted(clr), {0, 0, 0}); }

// The contrast a colour needs from A: up to twice the base for dark colours, the base itself
// from brightness 220 on.
double Threshold(COLORREF clrA, int nBase)
{
    int nBright = (int)Brightness(clrA);
    if (nBright > 220)
        nBright = 220;
    return nBase * (2.0 - nBright / 220.0);
}

COLORREF Blend(COLORREF clrA, COLORREF clrB, int nPart)
{
    int nDiv = nPart < 100 ? 100 : 1000;
    auto mix = [&](int a, int b) { return (a * nPart + b * (nDiv - nPart) + nDiv / 2) / nDiv; };
    return RGB(mix(GetRValue(clrA), GetRValue(clrB)), mix(GetGValue(clrA), GetGValue(clrB)),
               mix(GetBValue(clrA), GetBValue(clrB)));
}

// Pulls clrTarget toward clrA when it lies farther from A than the threshold: the result is
// the point of the line from the target to A whose distance from A is the threshold.
COLORREF PullToward(COLORREF clrTarget, COLORREF clrA, int nBase)
{
    Weighted t = ToWeighted(clrTarget), a = ToWeighted(clrA);
    double dThreshold = Threshold(clrA, nBase);
    double dDist = Distance(t, a);
    if (dDist <= dThreshold)
        return clrTarget;
    double f = dThreshold / dDist;
    return FromWeighted({a.r + (t.r - a.r) * f, a.g + (t.g - a.g) * f, a.b + (t.b - a.b) * f});
}

// Pushes clrTarget away from clrA when it lies within the threshold: along the line from an
// origin (black, or white where black would push the wrong way) through the target, to the
// point of that line nearer to the origin whose distance from A is the threshold.
COLORREF PushAway(COLORREF clrTarget, COLORREF clrA, int nBase)
{
    Weighted t = ToWeighted(clrTarget), a = ToWeighted(clrA);
    double dThreshold = Threshold(clrA, nBase);
    if (Distance(t, a) > dThreshold)
        return clrTarget;
    double dBrightT = Brightness(clrTarget), dBrightA = Brightness(clrA);
    bool bWhite = (dBrightT > dBrightA && dBrightA <= 442.0 - dThreshold) ||
                  (dBrightT <= dBrightA && dBrightA <= dThreshold);
    if (bWhite) {
        t = {kMaxR - t.r, kMaxG - t.g, kMaxB - t.b};
        a = {kMaxR - a.r, kMaxG - a.g, kMaxB - a.b};
    }
    // points t * s of the line; |t * s - a| = threshold
    double dd = t.r * t.r + t.g * t.g + t.b * t.b;
    if (dd <= 0.0)
        return clrTarget;
    double da = t.r * a.r + t.g * a.g + t.b * a.b;
    double aa = a.r * a.r + a.g * a.g + a.b * a.b;
    double disc = da * da - dd * (aa - dThreshold * dThreshold);
    if (disc < 0.0)
        return clrTarget;
    double s1 = (da - sqrt(disc)) / dd, s2 = (da + sqrt(disc)) / dd;
    double s = fabs(s1) <= fabs(s2) ? s1 : s2;
    Weighted p = {t.r * s, t.g * s, t.b * s};
    if (bWhite)
        p = {kMaxR - p.r, kMaxG - p.g, kMaxB - p.b};
    return FromWeighted(p);
}

COLORREF ScaleChannels(COLORREF clr, int nMul, int nDiv)
{
    return RGB(GetRValue(clr) * nMul / nDiv, GetGValue(clr) * nMul / nDiv, GetBValue(clr) * nMul / nDiv);
}

int MaxChannel(COLORREF clr)
{
    int m = GetRValue(clr);
    if (GetGValue(clr) > m)
        m = GetGValue(clr);
    if (GetBValue(clr) > m)
        m = GetBValue(clr);
    return m;
}

} // namespace

COLORREF TkGetSysColor(int nIndex) { return nIndex >= 0 && nIndex < TK_COLOR_COUNT ? g_table[nIndex] : 0; }

COLORREF TkAddGrey(COLORREF clr, int nGrey)
{
    auto add = [&](int c) { return c + nGrey > 255 ? 255 : (c + nGrey < 0 ? 0 : c + nGrey); };
    return RGB(add(GetRValue(clr)), add(GetGValue(clr)), add(GetBValue(clr)));
}

void TkComputeColorTable(const COLORREF sys[TK_SYSCOLOR_LAST + 1], int nBitsPerPixel, COLORREF t[TK_COLOR_COUNT])
{
    const COLORREF clrWindow = sys[COLOR_WINDOW], clrFace = sys[COLOR_BTNFACE], clrHighlight = sys[COLOR_HIGHLIGHT],
                   clrShadow = sys[COLOR_BTNSHADOW];
    t[0] = 0;
    for (int i = 1; i <= TK_SYSCOLOR_LAST; i++)
        t[i] = sys[i];
    t[29] = 0;
    t[50] = 0;
    // Defaults: the Windows colours the toolkit colours stand for. Entry 34 is left as it was.
    t[30] = clrFace;
    t[31] = clrWindow;
    t[32] = clrHighlight;
    t[33] = clrHighlight;
    t[35] = sys[COLOR_GRAYTEXT];
    t[36] = clrWindow;
    t[37] = clrHighlight;
    t[38] = t[39] = t[40] = t[42] = t[43] = t[52] = clrShadow;
    t[41] = clrWindow;
    t[44] = sys[COLOR_WINDOWTEXT];
    t[45] = sys[COLOR_MENUTEXT];
    t[46] = sys[COLOR_BTNTEXT];
    t[47] = sys[COLOR_HIGHLIGHTTEXT];
    t[48] = clrFace;
    t[49] = sys[COLOR_BTNTEXT];
    t[51] = clrFace;
    if (nBitsPerPixel >= 1 && nBitsPerPixel <= 8)
        return;

    t[30] = Blend(clrWindow, clrFace, 165);
    t[31] = Blend(clrHighlight, clrWindow, 30);
    t[33] = Blend(clrHighlight, clrWindow, 50);
    t[41] = Blend(clrFace, clrWindow, 143);
    t[35] = Blend(sys[COLOR_GRAYTEXT], clrWindow, 70);
    t[38] = Blend(clrShadow, clrWindow, 75);
    t[39] = Blend(clrShadow, clrWindow, 70);
    t[43] = Blend(t[46], clrShadow, 20);
    t[40] = Blend(clrShadow, clrWindow, 90);
    t[42] = Blend(clrFace, clrShadow, 90);

    t[30] = PullToward(t[30], clrFace, 35);

    static const struct {
        int nTarget, nA, nBase;
    } s_contrasts[] = {{31, 30, 50},  {32, 30, 100}, {33, 30, 30},  {35, 41, 80},  {37, 33, 100},
                       {38, 30, 85},  {39, 30, 50},  {43, 47, 100}, {40, 30, 80},  {44, 41, 180},
                       {45, 31, 180}, {46, 30, 180}, {47, 33, 180}};
    for (const auto& c : s_contrasts)
        t[c.nTarget] = PushAway(t[c.nTarget], t[c.nA], c.nBase);

    t[35] = PullToward(t[35], t[41], 145);

    t[36] = RGB(GetRValue(t[30]) * 50 / 100 + GetRValue(clrWindow) * 40 / 100 + GetRValue(clrHighlight) * 10 / 100,
                GetGValue(t[30]) * 50 / 100 + GetGValue(clrWindow) * 40 / 100 + GetGValue(clrHighlight) * 10 / 100,
                GetBValue(t[30]) * 50 / 100 + GetBValue(clrWindow) * 40 / 100 + GetBValue(clrHighlight) * 10 / 100);
    int m = MaxChannel(clrFace);
    t[48] = m == 0 ? RGB(0x23, 0x23, 0x23) : ScaleChannels(clrFace, m + (255 - m < 35 ? 255 - m : 35), m);
    if (clrFace == 0) {
        t[49] = RGB(0x7F, 0x7F, 0x7F);
    } else {
        m = MaxChannel(clrShadow);
        t[49] = m == 0 ? 0 : ScaleChannels(clrShadow, m - 43 > 0 ? m - 43 : 0, m);
    }
    t[34] = ScaleChannels(t[31], 3, 4);
}

void TkUpdateColorTable()
{
    COLORREF sys[TK_SYSCOLOR_LAST + 1];
    sys[0] = 0;
    for (int i = 1; i <= TK_SYSCOLOR_LAST; i++)
        sys[i] = ::GetSysColor(i);
    int nBits = 0;
    HWND hDesktop = ::GetDesktopWindow();
    HDC hdc = ::GetDC(hDesktop);
    if (hdc != NULL) {
        nBits = ::GetDeviceCaps(hdc, BITSPIXEL);
        ::ReleaseDC(hDesktop, hdc);
    }
    TkComputeColorTable(sys, nBits, g_table);
}

void TkRGBtoHSL(COLORREF clr, double* pHue, double* pSat, double* pLum)
{
    double r = GetRValue(clr) / 255.0, g = GetGValue(clr) / 255.0, b = GetBValue(clr) / 255.0;
    double dMax = r > g ? (r > b ? r : b) : (g > b ? g : b);
    double dMin = r < g ? (r < b ? r : b) : (g < b ? g : b);
    double l = (dMax + dMin) / 2.0, h = 0.0, s = 0.0;
    if (dMax != dMin) {
        double d = dMax - dMin;
        s = l < 0.5 ? d / (dMax + dMin) : d / (2.0 - dMax - dMin);
        if (dMax == r)
            h = (g - b) / d;
        else if (dMax == g)
            h = 2.0 + (b - r) / d;
        else
            h = 4.0 + (r - g) / d;
        h /= 6.0;
        if (h < 0.0)
            h += 1.0;
    }
    *pHue = h;
    *pSat = s;
    *pLum = l;
}

namespace {

double HueToChannel(double p, double q, double h)
{
    if (h < 0.0)
        h += 1.0;
    if (h > 1.0)
        h -= 1.0;
    if (6.0 * h < 1.0)
        return p + (q - p) * 6.0 * h;
    if (2.0 * h < 1.0)
        return q;
    if (3.0 * h < 2.0)
        return p + (q - p) * (2.0 / 3.0 - h) * 6.0;
    return p;
}

} // namespace

COLORREF TkHSLtoRGB(double dHue, double dSat, double dLum)
{
    double r, g, b;
    if (dSat == 0.0) {
        r = g = b = dLum;
    } else {
        double q = dLum < 0.5 ? dLum * (1.0 + dSat) : dLum + dSat - dLum * dSat;
        double p = 2.0 * dLum - q;
        r = HueToChannel(p, q, dHue + 1.0 / 3.0);
        g = HueToChannel(p, q, dHue);
        b = HueToChannel(p, q, dHue - 1.0 / 3.0);
    }
    return RGB((int)(r * 255.0), (int)(g * 255.0), (int)(b * 255.0));
}
