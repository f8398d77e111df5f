#pragma once

// A UV sphere around the origin in immediate mode, one triangle strip per
// band between two rings, with outward normals. Requests outside 3 to 100
// slices or stacks draw nothing.
void draw_sphere_mesh(double radius, int slices, int stacks, double scale_u, double scale_v,
                      double offset_u, double offset_v);
