#include "textures/texture_slot.h"

#include "common/gl.h"

unsigned last_bound_texture = no_texture_bound;
float texture_env_color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
TextureSlot* texture_registry[texture_registry_size] = {};
char texture_names[texture_registry_size][texture_name_size] = {};
int texture_count = 0;

TextureSlot::TextureSlot() : format(GL_RGBA), wrap_mode(GL_REPEAT), env_mode(GL_MODULATE)
{
    for (float& component : texture_env_color)
        component = 1.0f;
    for (int i = 0; i < texture_registry_size; ++i) {
        texture_registry[i] = nullptr;
        texture_names[i][0] = '\0';
    }
}

TextureSlot::~TextureSlot()
{
    if (gl_name == 0)
        return;
    glDeleteTextures(1, &gl_name);
    // GL unbinds a deleted texture and may hand its name out again, and the
    // next texture with that name would then never be bound.
    if (last_bound_texture == gl_name)
        forget_bound_texture();
}

void TextureSlot::bind()
{
    if (gl_name == 0)
        glGenTextures(1, &gl_name);
    if (gl_name == last_bound_texture)
        return;
    last_bound_texture = gl_name;
    glBindTexture(GL_TEXTURE_2D, gl_name);
    if (wrap_mode != 0) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap_mode));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap_mode));
    }
    if (env_mode != 0)
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(env_mode));
    if (env_mode == GL_BLEND)
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, texture_env_color);
}

void forget_bound_texture()
{
    last_bound_texture = no_texture_bound;
}

void TextureSlot::set_filters(bool mipmapped) const
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR);
}
