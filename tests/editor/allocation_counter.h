// Every allocation made through operator new in this test binary, counted.
#pragma once

long AllocationCount();
