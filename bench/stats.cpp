#include "stats.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace bench {

double percentile(std::vector<double> samples, double p) {
    if (samples.empty() || !(p > 0 && p <= 100)) {
        throw std::invalid_argument("percentile: no samples, or p outside (0, 100]");
    }
    // Rank in 1..n; the small allowance keeps 99 % of 2000 at 1980, not 1981,
    // whatever the rounding of p * n.
    const double exact = p / 100.0 * static_cast<double>(samples.size());
    const auto rank = static_cast<std::size_t>(std::ceil(exact - 1e-9));
    const std::size_t index = std::max<std::size_t>(rank, 1) - 1;
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(index),
                     samples.end());
    return samples[index];
}

}  // namespace bench
