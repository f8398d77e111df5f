#include "content/star_field.h"

#include "common/gl.h"

StarField::~StarField()
{
    release();
}

void StarField::release()
{
    if (list != 0) {
        glDeleteLists(list, 1);
        list = 0;
    }
}
