#pragma once

// The program-wide keep-visible flags of the gas-method windows, false at start. Each
// window writes its own; the recomputation of the current test brings forward those set.
struct SiempreVisible
{
    bool dornenburg = false;
    bool rogers = false;
    bool relacionGases = false;
    bool duval = false;
    bool pentagono = false;
};
