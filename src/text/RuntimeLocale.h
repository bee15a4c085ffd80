#pragma once

namespace kalkora::text {

// The program behaves like the Windows C runtime it was first written for: one process-wide
// locale, the default ("C") one until the first data-entry dialog switches to German for the
// rest of the run. Every formatting and scanning function of this folder follows it.
enum class RuntimeLocale { Default, German };

RuntimeLocale runtimeLocale();
void setRuntimeLocale(RuntimeLocale locale);

// Decimal separator of the current runtime locale: '.' or ','.
char decimalSeparator();

} // namespace kalkora::text
