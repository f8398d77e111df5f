#pragma once

// A UV sphere around the origin, one triangle strip per band between two
// rings, with outward normals, drawn from GL 1.1 vertex arrays in one call:
// the strips are joined by degenerate triangles, which cover no pixel.
// Positions, normals and the joins are made once; the texture coordinates
// again only when the scroll has moved.
class SphereMesh
{
public:
    virtual ~SphereMesh() = default;

    // Requests outside 3 to 100 slices or stacks make an empty mesh.
    void build(double radius, int slices, int stacks);
    // Empty meshes draw nothing.
    void draw(double scale_u, double scale_v, double offset_u, double offset_v);

    static constexpr int most_vertices = 2 * 101 * 99; // 100 slices, 100 stacks
    static constexpr int most_indices = most_vertices + 2 * 98; // two a join
    int slices = 0;
    int stacks = 0;
    int strip_vertices = 0; // 2 x (slices + 1)
    int vertex_count = 0;
    int index_count = 0;
    float positions[3 * most_vertices] = {}; // as GL would round them from doubles
    float normals[3 * most_vertices] = {};
    float texture_coordinates[2 * most_vertices] = {};
    unsigned short indices[most_indices] = {};
    // The scales and offsets the coordinates were made for; none after a build.
    double coordinates_made_for[4] = {};
    bool coordinates_made = false;

private:
    void join_strips();
    void make_texture_coordinates(double scale_u, double scale_v, double offset_u,
                                  double offset_v);
};

extern SphereMesh scene_sphere;
