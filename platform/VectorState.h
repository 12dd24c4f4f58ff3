// Qt's vector code may return with the upper halves of the wide vector
// registers still marked in use. On many x86-64 processors every later
// instruction of the legacy SSE encoding (all of this program's own
// floating-point code, built for the x86-64 baseline) then pays a
// transition cost, which makes a call into the maths library many times
// slower. Long loops that follow drawing or event handling clear that state
// first; on processors without AVX, or off x86, there is nothing to clear.
#pragma once

namespace plat {

void ClearUpperVectorState();

// Whether the upper halves of the AVX registers are marked in use now;
// false where the processor cannot tell (then HasInUseQuery is false).
bool HasInUseQuery();
bool UpperVectorStateInUse();

} // namespace plat
