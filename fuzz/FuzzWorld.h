#pragma once

#include "support/ShippedWorld.h"

// The run's objects filled from the embedded default profile by the real loaders, in German,
// with a few cached prices for "Server 1": what the calculator works on after a normal start.
// Built once per fuzzing process; targets must not change what later inputs rely on.
class CFuzzWorld : public CShippedWorld {
public:
    CFuzzWorld();

    static CFuzzWorld& Shared();
};
