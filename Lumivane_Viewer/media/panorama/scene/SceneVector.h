#pragma once

/// A point, direction or set of Euler angles of the scene layer, in double
/// precision so that long-running rotations keep their accuracy.
struct SceneVector
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend SceneVector operator+(SceneVector a, SceneVector b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend SceneVector operator-(SceneVector a, SceneVector b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend SceneVector operator*(SceneVector a, double s) { return {a.x * s, a.y * s, a.z * s}; }
    friend bool operator==(SceneVector a, SceneVector b) = default;
    double dot(SceneVector o) const { return x * o.x + y * o.y + z * o.z; }
};
