#include "Phantom.h"

#include "StudyWriter.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int Size = 64;   // columns and rows of a source slice
constexpr int Slices = 16; // slice 0 at the apex
constexpr int Phases = 16;
constexpr int PlaneValues = Size * Size;
constexpr int FrameValues = Slices * PlaneValues;
constexpr double Pi = 3.14159265358979323846;

// The ventricle, in source pixels (in-plane) and slices (along the long axis). The radii are
// those of the shell at the base plane; towards the apex each surface closes like a bullet.
struct Anatomy {
    // The shell over the cycle.
    double cavityRadiusRest = 6.0;    // endocardium at end-diastole
    double cavityRadiusSystole = 3.9; // endocardium at end-systole
    double wallRest = 2.4;            // wall thickness at end-diastole
    double wallSystole = 3.6;         // at end-systole
    double apexWallRest = 1.8;        // thickness of the apical cap, in slices
    double apexWallSystole = 2.5;
    double apexTip = 0.3;      // the outer tip of the apex, in slices
    double baseRest = 13.6;    // the open base plane, in slices, at end-diastole
    double baseSystole = 12.8; // the base moves towards the apex in systole
    double profile = 3.0;      // exponent of the long-axis profile (2 would be half an ellipsoid)
    double stretch = 1.06;     // the short-axis ellipse: one axis this much longer, the other shorter
    double ellipseTilt = 30.0; // degrees from the horizontal to the ellipse's long axis

    // Activity, relative to the normal myocardium.
    double bloodPool = 0.10; // the cavity
    double body = 0.06;      // soft tissue around the heart

    // The torso's cross-section, in source pixels, its centre from the ventricle's axis.
    double bodyRadiusX = 27.0, bodyRadiusY = 21.0;
    double bodyShiftX = 3.0, bodyShiftY = 2.0;

    double smoothing = 1.3;    // sigma of the Gaussian, in pixels and slices alike
    double defectTaper = 12.0; // degrees over which a defect fades into the normal wall

    // The hot spot: its centre from the axis, its spread, its peak relative to the heart's.
    double hotX = -15.0, hotY = 15.0, hotSlice = 11.0;
    double hotSigmaX = 2.8, hotSigmaY = 2.2, hotSigmaSlice = 3.0;
    double hotHeight = 1.5;
};

constexpr Anatomy anatomy{};

// How far the ventricle has contracted in a phase: 0 at end-diastole (phase 0), 1 at
// end-systole (phase 6.5), a smooth ejection, then a filling that ends by phase 14.
double Contraction(int phase)
{
    constexpr double endSystole = 6.5, filled = 14.0;
    const double t = phase;
    if (t <= endSystole)
        return 0.5 * (1.0 - std::cos(Pi * t / endSystole));
    const double u = std::min(1.0, (t - endSystole) / (filled - endSystole));
    return 0.5 * (1.0 + std::cos(Pi * u));
}

// The share (0..1) of the defect at a screen angle in degrees.
double DefectWeight(const PhantomOptions &o, double angle)
{
    if (!o.defect)
        return 0.0;
    if (o.defectWidth >= 360.0)
        return 1.0;
    const double from = std::fmod(angle - o.defectStart + 720.0, 360.0); // 0..360 from the start
    if (from <= o.defectWidth)
        return 1.0;
    const double outside = std::min(from - o.defectWidth, 360.0 - from); // to the nearer edge
    if (outside >= anatomy.defectTaper)
        return 0.0;
    const double c = std::cos(0.5 * Pi * outside / anatomy.defectTaper);
    return c * c;
}

PhantomOptions Clamped(PhantomOptions o)
{
    o.peak = std::clamp(o.peak, 1, 32767);
    o.centreDx = std::clamp(o.centreDx, -16, 16);
    o.centreDy = std::clamp(o.centreDy, -16, 16);
    if (!std::isfinite(o.defectStart))
        o.defectStart = 0.0;
    o.defectStart = std::fmod(std::fmod(o.defectStart, 360.0) + 360.0, 360.0);
    o.defectWidth = std::isfinite(o.defectWidth) ? std::clamp(o.defectWidth, 1.0, 360.0) : 90.0;
    o.defectDepth = std::isfinite(o.defectDepth) ? std::clamp(o.defectDepth, 0.0, 1.0) : 0.5;
    return o;
}

// Sub-samples per pixel along each axis, for the share of a pixel the shell covers.
constexpr int Sub = 4;

// One in-plane sub-sample of the region around the heart.
struct PlanePoint {
    int column, row;
    double radius; // elliptical radius, in units of the shell's radii
    double defect; // the defect's share at this angle
};

// The activity of one phase before smoothing, [slice][row][column], myocardium 1 (less in a
// defect), cavity bloodPool, the body around.
void FillActivity(const PhantomOptions &o, const std::vector<PlanePoint> &plane, const std::vector<double> &bodyPlane,
                  int phase, std::vector<double> &activity)
{
    for (int s = 0; s < Slices; ++s)
        std::copy(bodyPlane.begin(), bodyPlane.end(), activity.begin() + std::ptrdiff_t(s) * PlaneValues);

    const double f = Contraction(phase);
    const double base = anatomy.baseRest + (anatomy.baseSystole - anatomy.baseRest) * f;
    const double outerLength = base - anatomy.apexTip;
    constexpr double weight = 1.0 / (Sub * Sub * Sub);
    for (const PlanePoint &p : plane) {
        // A defect moves less: both the cavity's shrinking and the thickening are reduced.
        const double motion = f * (1.0 - o.defectDepth * p.defect);
        const double uptake = 1.0 - o.defectDepth * p.defect;
        const double inner =
            anatomy.cavityRadiusRest + (anatomy.cavityRadiusSystole - anatomy.cavityRadiusRest) * motion;
        const double outer = inner + anatomy.wallRest + (anatomy.wallSystole - anatomy.wallRest) * motion;
        const double apexWall = anatomy.apexWallRest + (anatomy.apexWallSystole - anatomy.apexWallRest) * motion;
        const double innerLength = outerLength - apexWall;
        if (p.radius > outer)
            continue;
        // Along the long axis the point is inside the outer surface while
        // (radius/outer)^n + (depth/outerLength)^n <= 1, depth measured from the base plane: a
        // bullet that keeps its width over most of its length and closes at the apex.
        const auto reach = [](double radius, double surface, double length) {
            return length * std::pow(1.0 - std::pow(radius / surface, anatomy.profile), 1.0 / anatomy.profile);
        };
        const double outerDepth = reach(p.radius, outer, outerLength);
        const double innerDepth = p.radius < inner ? reach(p.radius, inner, innerLength) : -1.0;
        const int sFirst = std::max(0, int(std::floor(base - outerDepth)));
        const int sLast = std::min(Slices - 1, int(std::ceil(base)));
        for (int s = sFirst; s <= sLast; ++s) {
            const std::size_t at = std::size_t(p.row) * Size + std::size_t(p.column);
            double value = 0.0;
            for (int k = 0; k < Sub; ++k) {
                const double depth = base - (s + (k + 0.5) / Sub - 0.5);
                if (depth < 0.0 || depth > outerDepth)
                    continue; // beyond the open base, or beyond the apex
                // The heart takes the place of the body's activity there.
                value += (depth <= innerDepth ? anatomy.bloodPool : uptake) - bodyPlane[at];
            }
            activity[std::size_t(s) * PlaneValues + at] += weight * value;
        }
    }
}

// A normalised Gaussian kernel of the given sigma, truncated at four sigma.
std::vector<double> GaussianKernel(double sigma)
{
    const int radius = int(std::ceil(4.0 * sigma));
    std::vector<double> kernel(std::size_t(2 * radius + 1));
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i)
        sum += kernel[std::size_t(i + radius)] = std::exp(-0.5 * i * i / (sigma * sigma));
    for (double &k : kernel)
        k /= sum;
    return kernel;
}

// Smooths a volume [slice][row][column] along one axis (0 across slices, 1 across rows, 2
// across columns); beyond the edges the nearest cell repeats, as if the body went on.
void SmoothAxis(std::vector<double> &volume, std::vector<double> &scratch, const std::vector<double> &kernel, int axis)
{
    const int radius = int(kernel.size() / 2);
    const int length = axis == 0 ? Slices : Size;
    const std::size_t stride = axis == 0 ? PlaneValues : axis == 1 ? Size : 1;
    for (std::size_t i = 0; i < volume.size(); ++i) {
        const int at = int(axis == 0 ? i / PlaneValues : axis == 1 ? (i / Size) % Size : i % Size);
        const std::size_t first = i - std::size_t(at) * stride; // the line's cell 0
        double sum = 0.0;
        for (int t = -radius; t <= radius; ++t) {
            const int j = std::clamp(at + t, 0, length - 1);
            sum += kernel[std::size_t(t + radius)] * volume[first + std::size_t(j) * stride];
        }
        scratch[i] = sum;
    }
    volume.swap(scratch);
}

} // namespace

PhantomRandom::PhantomRandom(uint64_t seed)
{
    // splitmix64 spreads any seed, 0 included, over the four words of the state.
    for (uint64_t &word : s_) {
        uint64_t z = (seed += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        word = z ^ (z >> 31);
    }
}

uint64_t PhantomRandom::next()
{
    const auto rotl = [](uint64_t x, int k) { return (x << k) | (x >> (64 - k)); };
    const uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

double PhantomRandom::uniform()
{
    return double(next() >> 11) * 0x1.0p-53;
}

namespace {

// log(k!) from a table for small k and Stirling's series beyond, accurate to double precision.
double LogFactorial(int64_t k)
{
    static const std::array<double, 16> table = [] {
        std::array<double, 16> t{};
        for (int i = 2; i < 16; ++i)
            t[std::size_t(i)] = t[std::size_t(i - 1)] + std::log(double(i));
        return t;
    }();
    if (k < 16)
        return table[std::size_t(k)];
    const double n = double(k) + 1.0; // log Gamma(n)
    const double r = 1.0 / n, r2 = r * r;
    return (n - 0.5) * std::log(n) - n + 0.5 * std::log(2.0 * Pi) +
           r * (1.0 / 12 - r2 * (1.0 / 360 - r2 * (1.0 / 1260 - r2 / 1680)));
}

} // namespace

int64_t PhantomRandom::poisson(double mean)
{
    if (!(mean > 0.0))
        return 0;
    mean = std::min(mean, 1e9); // keeps every candidate count far inside int64_t
    if (mean < 10.0) {
        // Multiplication of uniforms until their product drops below exp(-mean).
        const double limit = std::exp(-mean);
        int64_t k = 0;
        double product = uniform();
        while (product > limit) {
            ++k;
            product *= uniform();
        }
        return k;
    }
    // Transformed rejection with squeeze (Hormann's PTRS): exact, a few uniforms per count.
    const double root = std::sqrt(mean), logMean = std::log(mean);
    const double b = 0.931 + 2.53 * root;
    const double a = -0.059 + 0.02483 * b;
    const double inverseAlpha = 1.1239 + 1.1328 / (b - 3.4);
    const double vr = 0.9277 - 3.6224 / (b - 2.0);
    for (;;) {
        const double u = uniform() - 0.5;
        const double v = uniform();
        const double us = 0.5 - std::fabs(u);
        const double kReal = std::floor((2.0 * a / us + b) * u + mean + 0.43);
        if (us >= 0.07 && v <= vr)
            return int64_t(kReal);
        // Candidates far in the tail (us near 0) have no chance of acceptance; dropping them
        // before the conversion keeps it defined.
        if (kReal < 0.0 || kReal > 0x1.0p62 || (us < 0.013 && v > us))
            continue;
        const auto k = int64_t(kReal);
        if (std::log(v) + std::log(inverseAlpha) - std::log(a / (us * us) + b) <=
            -mean + double(k) * logMean - LogFactorial(k))
            return k;
    }
}

std::string CheckPhantomOptions(const PhantomOptions &o)
{
    if (o.peak < 1 || o.peak > 32767)
        return "the peak must be 1..32767 counts";
    if (o.centreDx < -16 || o.centreDx > 16 || o.centreDy < -16 || o.centreDy > 16)
        return "the centre offset must be -16..16 pixels in each direction";
    if (!std::isfinite(o.defectStart))
        return "the defect's start angle must be a number";
    if (!(o.defectWidth >= 1.0 && o.defectWidth <= 360.0))
        return "the defect's width must be 1..360 degrees";
    if (!(o.defectDepth >= 0.0 && o.defectDepth <= 1.0))
        return "the defect's depth must be 0..1";
    if (o.patientId.size() > 19)
        return "the patient ID holds at most 19 bytes";
    if (o.patientName.size() > 29)
        return "the patient name holds at most 29 bytes";
    return {};
}

std::vector<int16_t> MakePhantomPixels(const PhantomOptions &options)
{
    const PhantomOptions o = Clamped(options);
    const double cx = 32 + o.centreDx, cy = 32 + o.centreDy;

    // The in-plane geometry is the same in every phase: the elliptical radius and the angle
    // of every sub-sample near the heart, computed once.
    const double tilt = anatomy.ellipseTilt * Pi / 180.0;
    const double cosT = std::cos(tilt), sinT = std::sin(tilt);
    const double maxRadius =
        std::max(anatomy.cavityRadiusRest + anatomy.wallRest, anatomy.cavityRadiusSystole + anatomy.wallSystole) *
            anatomy.stretch +
        1.0;
    std::vector<PlanePoint> plane;
    const int reach = int(std::ceil(maxRadius));
    for (int row = int(cy) - reach; row <= int(cy) + reach; ++row)
        for (int column = int(cx) - reach; column <= int(cx) + reach; ++column) {
            if (row < 0 || row >= Size || column < 0 || column >= Size)
                continue;
            for (int j = 0; j < Sub; ++j)
                for (int i = 0; i < Sub; ++i) {
                    const double x = column + (i + 0.5) / Sub - 0.5 - cx;
                    const double up = cy - (row + (j + 0.5) / Sub - 0.5); // screen y points up
                    const double along = (x * cosT + up * sinT) / anatomy.stretch;
                    const double across = (-x * sinT + up * cosT) * anatomy.stretch;
                    double angle = std::atan2(up, x) * 180.0 / Pi;
                    if (angle < 0.0)
                        angle += 360.0;
                    plane.push_back({column, row, std::hypot(along, across), DefectWeight(o, angle)});
                }
        }

    std::vector<double> bodyPlane(PlaneValues, 0.0);
    for (int row = 0; row < Size; ++row)
        for (int column = 0; column < Size; ++column) {
            const double x = (column - cx - anatomy.bodyShiftX) / anatomy.bodyRadiusX;
            const double y = (row - cy - anatomy.bodyShiftY) / anatomy.bodyRadiusY;
            if (x * x + y * y <= 1.0)
                bodyPlane[std::size_t(row) * Size + std::size_t(column)] = anatomy.body;
        }

    // Activity, smoothed, for every phase.
    const std::vector<double> kernel = GaussianKernel(anatomy.smoothing);
    std::vector<double> smoothed(std::size_t(Phases) * FrameValues);
    std::vector<double> activity(FrameValues), scratch(FrameValues);
    for (int phase = 0; phase < Phases; ++phase) {
        std::fill(activity.begin(), activity.end(), 0.0);
        FillActivity(o, plane, bodyPlane, phase, activity);
        for (int axis = 0; axis < 3; ++axis)
            SmoothAxis(activity, scratch, kernel, axis);
        std::copy(activity.begin(), activity.end(), smoothed.begin() + std::ptrdiff_t(phase) * FrameValues);
    }

    // The hottest point of phase 0 gets the peak counts; every phase shares that scale, so
    // the systolic rise stays.
    const double hottest = *std::max_element(smoothed.begin(), smoothed.begin() + FrameValues);
    const double scale = o.peak / hottest;

    std::vector<double> hot(FrameValues, 0.0);
    if (o.hotSpot)
        for (int s = 0; s < Slices; ++s)
            for (int row = 0; row < Size; ++row)
                for (int column = 0; column < Size; ++column) {
                    const double x = (column - cx - anatomy.hotX) / anatomy.hotSigmaX;
                    const double y = (row - cy - anatomy.hotY) / anatomy.hotSigmaY;
                    const double z = (s - anatomy.hotSlice) / anatomy.hotSigmaSlice;
                    hot[(std::size_t(s) * Size + std::size_t(row)) * Size + std::size_t(column)] =
                        anatomy.hotHeight * o.peak * std::exp(-0.5 * (x * x + y * y + z * z));
                }

    std::vector<int16_t> pixels(smoothed.size());
    PhantomRandom random(o.seed);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const double mean = smoothed[i] * scale + hot[i % FrameValues];
        // Rounded to the nearest count; a noisy count is drawn around the same mean.
        const int64_t count = o.noise ? random.poisson(mean) : int64_t(mean + 0.5);
        pixels[i] = int16_t(std::clamp<int64_t>(count, 0, 32767));
    }
    return pixels;
}

bool WritePhantomStudy(const std::string &prefix, const PhantomOptions &options, std::string &error)
{
    error = CheckPhantomOptions(options);
    if (!error.empty())
        return false;
    if (prefix.empty()) {
        error = "the study needs a file name prefix";
        return false;
    }
    return WriteStudySet(prefix, options.patientId, options.patientName, MakePhantomPixels(options), error);
}
