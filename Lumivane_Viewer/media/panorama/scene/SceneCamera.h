#pragma once

/// A perspective camera. Its field of view (vertical, in degrees) can change
/// at once or over time; while an animation runs, fieldOfView() already
/// reads the target and presentedFieldOfView() what is drawn.
class SceneCamera final
{
public:
    double fieldOfView() const { return m_fieldOfView; }
    double zNear() const { return m_zNear; }
    double zFar() const { return m_zFar; }
    void setZNear(double value) { m_zNear = value; }
    void setZFar(double value) { m_zFar = value; }

    /// Sets the value at once; a running animation is dropped.
    void setFieldOfView(double degrees);
    /// Moves linearly from what is drawn at `now` to `degrees`.
    void animateFieldOfView(double degrees, double duration, double now);

    double presentedFieldOfView(double now) const;
    bool isAnimating(double now) const;

private:
    double m_fieldOfView = 60.0;
    double m_zNear = 1.0;
    double m_zFar = 100.0;
    double m_animationStart = 0.0;
    double m_animationDuration = 0.0;
    double m_animationOffset = 0.0;
};
