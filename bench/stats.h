#pragma once

#include <vector>

namespace bench {

// The p-th percentile (0 < p <= 100) by the nearest-rank method: the
// smallest sample that at least p % of the samples do not exceed. Throws
// std::invalid_argument for no samples or p out of range.
double percentile(std::vector<double> samples, double p);

}  // namespace bench
