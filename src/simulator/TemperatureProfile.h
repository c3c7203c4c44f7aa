#pragma once

#include <QtGlobal>

namespace zorneta::sim {

// What the simulated regulator has been programmed to do with its furnace.
struct HeatingProgram {
    double roomC = 20.0;       // start temperature and where the furnace cools back to
    double rampCPerMin = 10.0; // heating rate; zero or less jumps straight to the set point
    double setpointC = 850.0;
    double holdMin = 30.0; // counted from the moment the ramp reaches the set point
    // Settling of the controller around the set point after the ramp: a damped
    // swing whose first peak is the overshoot. Its size follows from the ramp
    // rate, as the furnace arrives with that momentum.
    double settlePeriodMin = 8.0;
    double settleDampingMin = 3.0;
    double coolingTauMin = 45.0; // heater off after the hold: exponential cooling
    quint32 noiseSeed = 1;       // the ±1 digit flicker of the readout; same seed, same readings
    bool noise = true;
};

// The furnace temperature over time for a heating program. Times are seconds
// since the program started as the caller counts them; with a speed-up factor
// the program runs that many times faster.
class TemperatureProfile {
public:
    explicit TemperatureProfile(const HeatingProgram &program = {}, double speedup = 1.0);

    const HeatingProgram &program() const { return m_program; }
    double speedup() const { return m_speedup; }

    // The smooth temperature, °C.
    double temperatureAt(double seconds) const;
    // The whole degrees the regulator reports, with the readout flicker,
    // clamped to 0..9998 (9999 is the broken-thermocouple value).
    int groupValueAt(double seconds) const;

    // Phase boundaries, in the caller's seconds.
    double rampEndSeconds() const { return m_rampEnd / m_speedup; }
    double holdEndSeconds() const { return m_holdEnd / m_speedup; }

private:
    double programTemperature(double t) const; // t in program seconds

    HeatingProgram m_program;
    double m_speedup = 1.0;
    double m_rampEnd = 0.0; // program seconds
    double m_holdEnd = 0.0;
    double m_rate = 0.0;     // °C per program second, signed
    double m_swing = 0.0;    // amplitude of the settling swing, °C, signed
    double m_omega = 0.0;    // rad per program second
    double m_damping = 1.0;  // program seconds
    double m_coolTau = 1.0;  // program seconds
    double m_holdEndC = 0.0; // temperature when the heater goes off
};

} // namespace zorneta::sim
