#include "content/light_material.h"

#include "common/gl.h"
#include "content/light.h"

void LightMaterial::set_weights(float ambient, float diffuse, float specular,
                                float material_specular)
{
    ambient_weight = ambient;
    diffuse_weight = diffuse;
    specular_weight = specular;
    material_specular_weight = material_specular;
}

void LightMaterial::apply(const Light& light) const
{
    const float c[3] = {tint[0] * light.color[0], tint[1] * light.color[1],
                        tint[2] * light.color[2]};
    const auto weighted = [&c](float weight, float out[4]) {
        for (int i = 0; i < 3; ++i)
            out[i] = weight * c[i];
        out[3] = 1.0f;
    };
    float ambient[4], diffuse[4], specular[4], material_specular[4];
    weighted(ambient_weight, ambient);
    weighted(diffuse_weight, diffuse);
    weighted(specular_weight, specular);
    weighted(material_specular_weight, material_specular);

    const GLenum gl_light = light.gl_light();
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material_specular);
    if (gl_light != no_gl_light) {
        glLightfv(gl_light, GL_AMBIENT, ambient);
        glLightfv(gl_light, GL_DIFFUSE, diffuse);
        glLightfv(gl_light, GL_SPECULAR, specular);
        glLightf(gl_light, GL_SPOT_EXPONENT, spot_exponent);
        glLightf(gl_light, GL_SPOT_CUTOFF, spot_cutoff);
    }
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
}
