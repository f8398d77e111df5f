#pragma once

class Light;

// Derives every light and material colour from four weights and one tint,
// so the whole palette of the scene is a handful of numbers.
class LightMaterial
{
public:
    virtual ~LightMaterial() = default;

    void set_weights(float ambient, float diffuse, float specular, float material_specular);
    void apply(const Light& light) const;

    float ambient_weight = 0.25f;
    float diffuse_weight = 0.5f;
    float specular_weight = 0.75f;
    float material_specular_weight = 0.99f;
    float spot_exponent = 1.0f;
    float spot_cutoff = 180.0f; // no spot cone
    int shininess = 20;
    float tint[3] = {1.0f, 1.0f, 1.0f};
};

extern LightMaterial scene_material;
