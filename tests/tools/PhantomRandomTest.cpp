// The phantom's noise source: a seeded generator and a Poisson sampler whose counts follow
// the Poisson law at small and large means. Every seed is fixed, so these tests give the
// same verdict on every run.
#include "Phantom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace {

TEST(PhantomRandom, SeedFixesTheSequence)
{
    PhantomRandom a(7), b(7), c(8), zero(0);
    int same = 0, sameAsOther = 0, zeros = 0;
    for (int i = 0; i < 1000; ++i) {
        const uint64_t x = a.next();
        same += x == b.next();
        sameAsOther += x == c.next();
        zeros += zero.next() == 0;
    }
    EXPECT_EQ(same, 1000);
    EXPECT_EQ(sameAsOther, 0);
    EXPECT_EQ(zeros, 0) << "seed 0 must not leave the generator stuck at zero";
}

TEST(PhantomRandom, UniformCoversTheUnitInterval)
{
    PhantomRandom random(1);
    constexpr int N = 100000;
    std::vector<int> tenths(10, 0);
    double sum = 0.0;
    for (int i = 0; i < N; ++i) {
        const double u = random.uniform();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        sum += u;
        ++tenths[std::size_t(u * 10)];
    }
    EXPECT_NEAR(sum / N, 0.5, 0.005);
    for (int t = 0; t < 10; ++t)
        EXPECT_NEAR(tenths[std::size_t(t)], N / 10, 500) << "tenth " << t;
}

TEST(PhantomRandom, PoissonMeanAndVarianceEqualTheMean)
{
    // Both samplers: multiplication of uniforms below a mean of 10, rejection from 10 up.
    constexpr int N = 100000;
    for (double mean : {0.3, 4.0, 9.99, 10.0, 37.5, 1000.0, 20000.0}) {
        PhantomRandom random(uint64_t(mean * 1000));
        double sum = 0.0, squares = 0.0;
        for (int i = 0; i < N; ++i) {
            const double k = double(random.poisson(mean));
            ASSERT_GE(k, 0.0);
            sum += k;
            squares += k * k;
        }
        const double m = sum / N, variance = squares / N - m * m;
        EXPECT_NEAR(m, mean, 5.0 * std::sqrt(mean / N)) << "mean " << mean;
        EXPECT_NEAR(variance / mean, 1.0, 0.03) << "mean " << mean;
    }
}

TEST(PhantomRandom, PoissonFrequenciesFollowTheLaw)
{
    // A chi-square test of the counts against exp(-m) m^k / k!, with the sparse tails pooled.
    constexpr int N = 200000;
    for (double mean : {4.0, 30.0, 250.0}) {
        PhantomRandom random(42);
        std::map<int64_t, int> seen;
        for (int i = 0; i < N; ++i)
            ++seen[random.poisson(mean)];

        // Probabilities by the recurrence p(k) = p(k - 1) m / k, from p(0) = exp(-m) in logs.
        const int64_t last = int64_t(mean + 12.0 * std::sqrt(mean) + 20.0);
        std::vector<double> p(std::size_t(last + 1));
        double logP = -mean;
        for (int64_t k = 0; k <= last; ++k) {
            if (k > 0)
                logP += std::log(mean) - std::log(double(k));
            p[std::size_t(k)] = std::exp(logP);
        }
        double chi2 = 0.0, pooledExpected = 0.0, pooledSeen = 0.0;
        int bins = 0;
        const auto addBin = [&](double expected, double observed) {
            chi2 += (observed - expected) * (observed - expected) / expected;
            ++bins;
        };
        for (int64_t k = 0; k <= last; ++k) {
            const double expected = N * p[std::size_t(k)];
            const double observed = seen.count(k) ? seen[k] : 0;
            if (expected < 20.0) {
                pooledExpected += expected;
                pooledSeen += observed;
            } else {
                addBin(expected, observed);
            }
        }
        int beyond = 0;
        for (const auto &[k, n] : seen)
            if (k > last)
                beyond += n;
        EXPECT_EQ(beyond, 0) << "mean " << mean;
        addBin(pooledExpected, pooledSeen);
        const double dof = bins - 1;
        EXPECT_LT(chi2, dof + 5.0 * std::sqrt(2.0 * dof)) << "mean " << mean << ", " << bins << " bins";
    }
}

TEST(PhantomRandom, PoissonOfNothingIsZero)
{
    PhantomRandom random(3);
    for (double mean : {0.0, -5.0, std::nan("")})
        EXPECT_EQ(random.poisson(mean), 0) << mean;
    // Absurd means are taken as 1e9 rather than overflowing.
    for (int i = 0; i < 100; ++i)
        EXPECT_NEAR(double(random.poisson(1e300)), 1e9, 4e5);
}

} // namespace
