// Placeholder bodies, replaced as the water lands.
#include "fluid/fluid.h"

int TFluid::FCreateWater(int, int) { return 0; }
int TFluid::FEvaluateMap() { return 0; }
int TFluid::FEvaluateColumn(int) { return 0; }
int TFluid::FSim() { return 0; }
int TFluid::FCheckColumn(int) { return 0; }
int TFluid::FMoveBoulderSide(int, int) { return 0; }
int TFluid::FTransferFluid(int, int, int, int) { return 0; }
int TFluid::FTransferFluidEven(int, int, int, int) { return 0; }
int TFluid::FRain(int, int) { return 0; }
int TFluid::FWaterfall(int, int) { return 0; }
int TFluid::FBoulderFallScatter(int, int) { return 0; }
int TFluid::FBoulderFall(int, int) { return 0; }
uint8_t TFluid::FCountNeighbors(int, int) { return 0; }
