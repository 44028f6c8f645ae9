#pragma once

#include "SceneMaterial.h"

#include <QString>

#include <memory>
#include <vector>

/// Vertex data of a geometry: interleaved position (x, y, z) and texture
/// coordinate (s, t), and triangle indices.
struct SceneMesh
{
    std::vector<float> vertices;
    std::vector<unsigned> indices;
    /// Spheres: the indices come in this many runs of equal length, one per
    /// band of latitude from top to bottom, each spanning an equal part of
    /// the texture's height; 0 for other shapes.
    int textureRows = 0;
};

/// A sphere around its node's origin or a plane facing +Z, with one material.
class SceneGeometry final
{
public:
    enum class Kind { Sphere, Plane };

    static std::shared_ptr<SceneGeometry> sphere(double radius, int segmentCount);
    static std::shared_ptr<SceneGeometry> plane(double width, double height);

    Kind kind() const { return m_kind; }
    double radius() const { return m_radius; }
    int segmentCount() const { return m_segmentCount; }
    double width() const { return m_width; }
    double height() const { return m_height; }

    SceneMaterial &firstMaterial() { return m_material; }
    const SceneMaterial &firstMaterial() const { return m_material; }

    /// Identifies the vertex data, so that a renderer can share buffers
    /// between geometries of the same shape.
    QString meshKey() const;
    SceneMesh makeMesh() const;

private:
    explicit SceneGeometry(Kind kind);

    Kind m_kind;
    double m_radius = 0.0;
    int m_segmentCount = 0;
    double m_width = 0.0;
    double m_height = 0.0;
    SceneMaterial m_material;
};
