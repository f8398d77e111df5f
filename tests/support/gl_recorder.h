#pragma once
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

// One GL or GLU call as the scene made it. Calls that GLU makes on behalf of
// one of ours are marked inner, so a test can tell the two apart.
struct GlCall {
    std::string name;
    std::vector<double> args;
    bool inner = false;
};

bool operator==(const GlCall& a, const GlCall& b);
std::ostream& operator<<(std::ostream& out, const GlCall& call);

GlCall gl_call(std::string name, std::initializer_list<double> args = {});

// Records every call while it lives. Calls always reach the real GL too, so a
// test can check the sequence and the resulting state or pixels together.
class GlRecording
{
public:
    GlRecording();
    GlRecording(const GlRecording&) = delete;
    GlRecording& operator=(const GlRecording&) = delete;
    virtual ~GlRecording();

    const std::vector<GlCall>& all() const;
    std::vector<GlCall> outer() const;
    std::vector<GlCall> named(const std::string& name) const;
    std::vector<std::string> outer_names() const;
    void clear();
};

// Above 0 while a call is inside the real GL or GLU.
int gl_call_depth();
