#include "views/graph/GraphTicks.h"

#include <cmath>
#include <cstdio>

namespace {
// Far more ticks than any screen has pixels for: a bound for ranges that rounding broke.
constexpr int kMaxTicks = 2000;

double PowerOfTen(int n) {
    double p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    for (int i = 0; i > n; --i) p /= 10;
    return p;
}
}  // namespace

double TRoundTicks::Step() const {
    return mantissa * PowerOfTen(exponent);
}

double TRoundTicks::At(int i) const {
    // Negative powers divide, so that 0.1 steps give 0.3 and not 0.30000000000000004.
    const double k = static_cast<double>(firstIndex + i) * mantissa;
    return exponent >= 0 ? k * PowerOfTen(exponent) : k / PowerOfTen(-exponent);
}

TRoundTicks RoundTicks(double lo, double hi, int pixels, int minPixels) {
    TRoundTicks t;
    if (!(std::isfinite(lo) && std::isfinite(hi) && hi > lo) || pixels <= 0 || minPixels <= 0)
        return t;
    const double least = (hi - lo) * minPixels / pixels;  // the smallest step allowed
    if (!(least > 0) || !std::isfinite(least)) return t;
    int n = static_cast<int>(std::floor(std::log10(least)));
    // The smallest of 1, 2, 5 times 10^n, 10^(n+1) that is not below the least step; the
    // logarithm may be one off either way at an exact power of ten.
    const int mantissas[3] = {1, 2, 5};
    for (int e = n - 1, found = 0; !found && e <= n + 1; ++e)
        for (int m : mantissas)
            if (m * PowerOfTen(e) >= least) {
                t.mantissa = m;
                t.exponent = e;
                found = 1;
                break;
            }
    n = t.exponent;
    const double step = t.Step();
    const double first = std::ceil(lo / step - 1e-9);
    const double last = std::floor(hi / step + 1e-9);
    if (!(last >= first) || last - first >= kMaxTicks || std::fabs(first) > 1e15) return t;
    t.firstIndex = static_cast<long long>(first);
    t.count = static_cast<int>(last - first) + 1;
    t.decimals = n < 0 ? -n : 0;
    return t;
}

std::string TickLabel(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 12) decimals = 12;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string s = buf;
    // A value that rounds to zero is written without a sign.
    bool zero = true;
    for (char c : s)
        if (c >= '1' && c <= '9') zero = false;
    if (zero && !s.empty() && s[0] == '-') s.erase(0, 1);
    return s;
}
