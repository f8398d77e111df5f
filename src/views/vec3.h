#pragma once

class Vec3
{
public:
    Vec3(float x0 = 0.0f, float y0 = 0.0f, float z0 = 0.0f) : x(x0), y(y0), z(z0) {}
    Vec3(const Vec3&) = default;
    Vec3& operator=(const Vec3&) = default;
    virtual ~Vec3() = default;

    void set(float new_x, float new_y, float new_z)
    {
        x = new_x;
        y = new_y;
        z = new_z;
    }

    Vec3& assign(const Vec3& other)
    {
        set(other.x, other.y, other.z);
        return *this;
    }

    float x;
    float y;
    float z;
};
