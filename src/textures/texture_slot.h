#pragma once

constexpr int texture_slot_count = 20;
constexpr int texture_registry_size = 31;
constexpr int texture_name_size = 80;
constexpr unsigned no_texture_bound = 0xFFFFFFFFu;

// One GL texture object with the settings applied whenever it is made
// current. The object is created lazily, on the first bind.
class TextureSlot
{
public:
    TextureSlot();
    virtual ~TextureSlot();

    void bind();
    void set_filters(bool mipmapped) const;

    // Synthesises an image of the given kind and uploads it. Returns 0 on
    // success, 1 when the size is refused (nothing generated).
    int generate(int kind, int width, int height, unsigned format, int mipmapped);

    unsigned gl_name = 0;
    unsigned format;
    unsigned wrap_mode; // 0 leaves the wrap parameters alone
    unsigned env_mode;  // 0 leaves the texture environment alone
    int width = 128;
    int height = 128;
    int blob_count = 100;
    int blob_radius = 12;
    int registry_index = -1;
};

// Shared by all slots. The environment belongs to the texture unit, so a
// slot's settings stay in force until another slot is bound.
extern unsigned last_bound_texture;
extern float texture_env_color[4];
extern TextureSlot* texture_registry[texture_registry_size];
extern char texture_names[texture_registry_size][texture_name_size];
extern int texture_count;

extern TextureSlot texture_slots[texture_slot_count];

// Drops the memory of the last bound texture, for when the context that held
// the binding goes away: a later context may hand out the same name for a
// different texture, and its first bind must reach GL.
void forget_bound_texture();
