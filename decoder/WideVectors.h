// Whether the decoder's hot loops use the processor's wider vectors (256-bit, AVX2) where it has
// them. Both variants of every such loop give the same bits; tests turn the wide ones off to
// compare the two.
#pragma once

namespace sonarel {

// True when the processor has AVX2 and PreferWideVectors(false) is not in force.
bool WideVectors();
void PreferWideVectors(bool prefer);

}  // namespace sonarel
