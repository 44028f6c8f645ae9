#pragma once

#include "SceneMaterial.h"

#include <QString>

#include <memory>
#include <vector>

/// Vertex data of a geometry: interleaved position (x, y, z) and texture
/// coordinate (s, t), and triangle indices.
struct SceneMesh
{
    /// The triangles between two texture rows that the mesh was cut at.
    struct Band
    {
        int firstIndex = 0;
        int indexCount = 0;
    };

    std::vector<float> vertices;
    std::vector<unsigned> indices;
    /// The bands from the top of the texture down: one per cut plus one.
    std::vector<Band> bands;
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

    /// Identifies the vertex data (before any cuts), so that a renderer can
    /// share buffers between geometries of the same shape.
    const QString &meshKey() const { return m_meshKey; }
    /// The vertex data. A sphere is cut along the texture rows `rowCuts`
    /// (fractions of the height, ascending): its rows of latitude are laid so
    /// that every cut falls between two of them, so each band between cuts
    /// can be drawn with a texture of its own and no triangle crosses a cut.
    /// Planes take no cuts.
    SceneMesh makeMesh(const std::vector<float> &rowCuts = {}) const;

private:
    explicit SceneGeometry(Kind kind);

    Kind m_kind;
    double m_radius = 0.0;
    int m_segmentCount = 0;
    double m_width = 0.0;
    double m_height = 0.0;
    // Made once: renderers look it up for every node of every frame.
    QString m_meshKey;
    SceneMaterial m_material;
};
