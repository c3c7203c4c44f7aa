#include "simulator/TemperatureProfile.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorneta::sim {

namespace {
constexpr double SecondsPerMinute = 60.0;

quint64 mix(quint64 x) {
    // splitmix64 finaliser: a well-spread hash, so the flicker looks random
    // while staying a pure function of the seed and the moment.
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}
} // namespace

TemperatureProfile::TemperatureProfile(const HeatingProgram &program, double speedup)
    : m_program(program), m_speedup(speedup > 0.0 ? speedup : 1.0) {
    const double span = m_program.setpointC - m_program.roomC;
    if (m_program.rampCPerMin > 0.0 && span != 0.0) {
        const double rate = m_program.rampCPerMin / SecondsPerMinute;
        m_rate = span > 0.0 ? rate : -rate;
        m_rampEnd = std::abs(span) / rate;
    }
    if (m_program.settlePeriodMin > 0.0 && m_program.settleDampingMin > 0.0) {
        m_omega = 2.0 * std::numbers::pi / (m_program.settlePeriodMin * SecondsPerMinute);
        m_damping = m_program.settleDampingMin * SecondsPerMinute;
        // The swing leaves the set point with the ramp's slope, so the curve
        // has no kink where the ramp ends.
        m_swing = m_rate / m_omega;
    }
    m_holdEnd = m_rampEnd + std::max(0.0, m_program.holdMin) * SecondsPerMinute;
    m_coolTau = m_program.coolingTauMin > 0.0 ? m_program.coolingTauMin * SecondsPerMinute : 1.0;
    m_holdEndC = programTemperature(m_holdEnd);
}

double TemperatureProfile::programTemperature(double t) const {
    if (t <= 0.0)
        return m_program.roomC;
    if (t < m_rampEnd)
        return m_program.roomC + m_rate * t;
    if (t <= m_holdEnd) {
        const double s = t - m_rampEnd;
        return m_program.setpointC + m_swing * std::exp(-s / m_damping) * std::sin(m_omega * s);
    }
    return m_program.roomC + (m_holdEndC - m_program.roomC) * std::exp(-(t - m_holdEnd) / m_coolTau);
}

double TemperatureProfile::temperatureAt(double seconds) const {
    return programTemperature(seconds * m_speedup);
}

int TemperatureProfile::groupValueAt(double seconds) const {
    const double t = seconds * m_speedup;
    double value = programTemperature(t);
    if (m_program.noise) {
        const auto moment = static_cast<quint64>(std::llround(t * 1000.0));
        const quint64 h = mix((quint64(m_program.noiseSeed) << 32) ^ moment) % 10;
        // Two readings in ten a digit low, two a digit high.
        if (h < 2)
            value -= 1.0;
        else if (h < 4)
            value += 1.0;
    }
    return static_cast<int>(std::clamp(std::round(value), 0.0, 9998.0));
}

} // namespace zorneta::sim
