// SPDX-License-Identifier: GPL-3.0-or-later
// Scene drawing: every object of the level by its type, and the debug overlays.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cmath>
#include <string>

#include "engine/statehasher.h"
#include "render/rendertask.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/scenegraph.h"

namespace {

// Display toggles read here.
constexpr int kSceneGraphToggle = 1;
constexpr int kBoxToggle = 5;
constexpr int kPathsToggle = 6;
constexpr int kWireframeToggle = 8;
constexpr int kDisplayListsToggle = 9;

// Texture slots of the objects.
constexpr int kWallSlot = 5;
constexpr int kPlayerSlot = 6;
constexpr int kEnemySlot = 8;
constexpr int kTowerSlot = 10;

enum class Geometry { Ground, Wall, Player, Enemy, Tower, Effect, Sphere, Flag };
enum class Lookup { Keep, Off };  // the shadow lookup on unit 1 while the object draws

struct Material {
    bool set;
    GLfloat specular[4];
    GLfloat shininess;
    bool diffuseAndAmbient;  // white, for the player
};

// How each kind of object is drawn: lifted above the ground by lift (on top of half
// its model's height), turned to its look direction or not, in its material and texture.
struct Kind {
    const char* type;
    bool atPosition;  // translated to its own x, y; else only lifted
    float lift;
    bool turns;
    Material material;
    int textureSlot;  // -1: untextured
    Lookup lookup;
    Geometry geometry;
    float sphereRadius;
    bool moves;  // its model animates: each pass draws it a step further on
};

// clang-format off
const Kind kKinds[] = {
 // type                    at pos lift  turns material                                       slot           lookup        geometry           sphere   moves
    {"map.ground",           false, 0.0f, false, {true, {0.9f, 0.9f, 0.9f, 1}, 50, false},     -1,            Lookup::Keep, Geometry::Ground,   0.0f, false},
    {"map.wall",             true,  0.0f, false, {true, {0.5f, 0.5f, 1.0f, 1}, 20, false},     kWallSlot,     Lookup::Keep, Geometry::Wall,     0.0f, false},
    {"player",               true,  0.0f, true,  {true, {1.0f, 1.0f, 1.0f, 1}, 20, true},      kPlayerSlot,   Lookup::Off,  Geometry::Player,   0.0f, true },
    {"enemy",                true,  0.0f, true,  {true, {1.0f, 0.8f, 0.8f, 1}, 15, false},     kEnemySlot,    Lookup::Keep, Geometry::Enemy,    0.0f, true },
    {"tower",                true, -1.3f, false, {true, {0.0f, 1.0f, 0.0f, 1}, 15, false},     kTowerSlot,    Lookup::Off,  Geometry::Tower,    0.0f, false},
    {"projectile.lasermg",   false, 1.5f, false, {false, {}, 0, false},                        CRenderTask::kParticleSlot, Lookup::Keep, Geometry::Effect,   0.1f, false},
    {"projectile.shotgun",   true,  0.5f, false, {false, {}, 0, false},                        -1,            Lookup::Keep, Geometry::Sphere,   0.1f, false},
    {"projectile.rocket",    true,  1.0f, false, {false, {}, 0, false},                        -1,            Lookup::Keep, Geometry::Sphere,   0.2f, false},
    {"projectile.explosion", false, 1.5f, false, {false, {}, 0, false},                        CRenderTask::kParticleSlot, Lookup::Keep, Geometry::Effect,   0.0f, false},
    {"flag",                 true,  0.5f, false, {false, {}, 0, false},                        -1,            Lookup::Keep, Geometry::Flag,     0.0f, true },
};
// clang-format on
constexpr int kKindCount = sizeof(kKinds) / sizeof(kKinds[0]);
static_assert(kKindCount == 10, "one row per drawn object type");

// The ground, walls and towers never move once placed.
bool StandsStill(const Kind& kind)
{
    return kind.geometry == Geometry::Ground || kind.geometry == Geometry::Wall || kind.geometry == Geometry::Tower;
}

const Kind* FindKind(const std::string& type)
{
    for (const Kind& k : kKinds) {
        if (type == k.type)
            return &k;
    }
    return nullptr;
}

void SetMaterial(const Material& m)
{
    if (!m.set)
        return;
    glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
    glMaterialf(GL_FRONT, GL_SHININESS, m.shininess);
    if (m.diffuseAndAmbient) {
        constexpr GLfloat kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        glMaterialfv(GL_FRONT, GL_DIFFUSE, kWhite);
        glMaterialfv(GL_FRONT, GL_AMBIENT, kWhite);
    }
}

void ShadowLookup(bool on)
{
    glActiveTexture(GL_TEXTURE1);
    if (on)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
}

// Where the stencil lets an object of a split dim pass draw.
enum class StencilKeep { Unset, WaterSeen, WaterArea };

void KeepByStencil(StencilKeep want, StencilKeep& current, const int* seenBox)
{
    if (want == current)
        return;
    current = want;
    switch (want) {
    case StencilKeep::WaterArea:
        glStencilFunc(GL_NOTEQUAL, 0, CRenderTask::kWaterBits);
        glDisable(GL_SCISSOR_TEST);
        break;
    case StencilKeep::WaterSeen:
    case StencilKeep::Unset:
        // Unset leaves the test the mirror pass keeps: where the water is seen.
        glStencilFunc(GL_EQUAL, CRenderTask::kWaterSeen, CRenderTask::kWaterBits);
        // The box round the water seen lets the GL drop what lies outside it early.
        if (want == StencilKeep::WaterSeen && seenBox) {
            glEnable(GL_SCISSOR_TEST);
            glScissor(seenBox[0], seenBox[1], seenBox[2], seenBox[3]);
        } else {
            glDisable(GL_SCISSOR_TEST);
        }
        break;
    }
}

// The model faces its look direction: a turn by -atan2(x, y) about the height axis.
void TurnTo(const VOB& o)
{
    double theta = std::atan2(o.GetLookX(), o.GetLookY());
    if (theta < 3.14159265)
        theta = -theta;
    glRotated(theta * 180.0 / M_PI, 0.0, 0.0, 1.0);
}

// A shot's sphere, from a list per radius: GLUT works out the same sphere again on
// every call, and a battle draws thousands of them a frame.
void DrawSphere(float radius)
{
    struct SphereList {
        float radius;
        GLuint list;
    };
    static SphereList lists[4] = {};
    for (SphereList& s : lists) {
        if (s.list != 0 && s.radius == radius) {
            glCallList(s.list);
            return;
        }
        if (s.list == 0) {
            s.radius = radius;
            s.list = glGenLists(1);
            glNewList(s.list, GL_COMPILE_AND_EXECUTE);
            glutSolidSphere(radius, 5, 5);
            glEndList();
            return;
        }
    }
    glutSolidSphere(radius, 5, 5);
}

// Calls the shared list, compiling it from this model the first time.
void CallOrBuild(uint32_t& list, MD2Model& model)
{
    if (list == 0) {
        list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        model.DrawStatic();
        glEndList();
    }
    glCallList(list);
}

void DrawPath(const Enemy& enemy, float height)
{
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glTranslatef(0.0f, 0.0f, 0.1f);
    glBegin(GL_LINE_STRIP);
    glVertex3f(enemy.GetX(), enemy.GetY(), height);
    for (const Waypoint& p : enemy.GetPath())
        glVertex3f(p.x, p.y, height);
    glEnd();
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

}  // namespace

void CRenderTask::DrawScene(ScenePass pass)
{
    const bool drawGround = pass != ScenePass::Mirror;
    // The particles glow in the lit pass. In the others they move on as they are drawn
    // past (the light's depth leaves them out anyway; the dim pass would add a faint
    // copy under the water's surface, the mirror one below the ground), each a whole
    // screen of blended squares for what little of them shows.
    const bool effectsShown = pass == ScenePass::Lit;
    // In a split dim pass each object is kept by the stencil to where its dim picture
    // can stay (see the frame): what stands still to where the water is seen, a moving
    // model to the water's area.
    const bool split = pass == ScenePass::Dim && splitDimPass;
    StencilKeep kept = StencilKeep::Unset;
    const int* seenBox = waterSeenBounded ? waterSeenBox : nullptr;
    GameWorld& world = GameWorld::GetSingleton();
    // A copy: objects removed while they are drawn stay alive until the pass ends.
    world.GetAllObjects(drawList);
    LookFromCurrentMatrices();
    CMMPointer<VOB> player = world.GetActor(GameWorld::kPlayerSlot);
    const bool displayLists = world.GetToggle(kDisplayListsToggle) != 0;
    const bool boxes = world.GetToggle(kBoxToggle) != 0;

    // Walls come in long runs that share one material and texture: the run is set up at
    // its first wall and closed after its last, not once per wall.
    bool wallRun = false;
    for (const CMMPointer<VOB>& handle : drawList) {
        VOB& o = *handle;
        const Kind* kind = FindKind(o.GetType());
        if (!kind)
            continue;
        const bool wall = kind->geometry == Geometry::Wall;
        if (wallRun && !wall) {
            glDisable(GL_TEXTURE_2D);
            wallRun = false;
        }
        if (pass == ScenePass::Light && lightObjects != LightObjects::All &&
            StandsStill(*kind) != (lightObjects == LightObjects::Still))
            continue;
        if (kind->geometry == Geometry::Ground) {
            if (!drawGround)
                continue;
            if (split)
                KeepByStencil(StencilKeep::WaterSeen, kept, seenBox);
            glPushMatrix();
            SetMaterial(kind->material);
            DrawTerrain();
            glPopMatrix();
            if (world.GetToggle(kSceneGraphToggle)) {
                glPushMatrix();
                glDisable(GL_LIGHTING);
                glColor3f(1.0f, 1.0f, 1.0f);
                glTranslatef(0.0f, 0.0f, 3.0f);
                DrawSceneGraph(SceneGraph::GetSingleton().GetRoot());
                glEnable(GL_LIGHTING);
                glPopMatrix();
            }
            continue;
        }

        MD2Model& model = o.GetModel();
        const float base = GroundHeight(o.GetX(), o.GetY()) + static_cast<float>(model.GetModelHeight() / 2.0);
        // A path's points are world positions: drawn before the enemy's own frame is set up.
        if (kind->geometry == Geometry::Enemy && world.GetToggle(kPathsToggle))
            DrawPath(static_cast<Enemy&>(o), base + 1.0f);
        glPushMatrix();
        if (kind->atPosition)
            glTranslatef(o.GetX(), o.GetY(), base + kind->lift);
        else
            glTranslatef(0.0f, 0.0f, base + kind->lift);
        if (kind->turns)
            TurnTo(o);
        if (kind->geometry == Geometry::Flag)
            glRotated(-90.0, 90.0, 90.0, 1.0);
        if (split)
            KeepByStencil(kind->moves ? StencilKeep::WaterArea : StencilKeep::WaterSeen, kept, seenBox);

        if (!wallRun) {
            SetMaterial(kind->material);
            if (kind->lookup == Lookup::Off)
                ShadowLookup(false);
            if (kind->textureSlot >= 0) {
                glActiveTexture(GL_TEXTURE0);
                glEnable(GL_TEXTURE_2D);
                glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
                glBindTexture(GL_TEXTURE_2D, textures[kind->textureSlot].glName);
            }
            wallRun = wall;
        }

        // A model the pass cannot see is left out, but it leaves the state behind that
        // drawing it would have: the GL's current normal and texture coordinate, and the
        // animation a step further on.
        const bool placedModel = kind->atPosition && kind->geometry != Geometry::Sphere;
        MD2Model& drawn = kind->geometry == Geometry::Player ? player->GetModel() : model;
        const bool outOfSight =
            placedModel && view.SphereOutside(o.GetX(), o.GetY(), base + kind->lift, drawn.DrawRadius());
        if (outOfSight)
            drawn.Skip(kind->moves);
        switch (outOfSight ? Geometry::Ground : kind->geometry) {
        case Geometry::Wall:
            // Every wall is the same cube. Its boxes are drawn per wall, never from a list.
            if (displayLists && !boxes)
                CallOrBuild(wallList, model);
            else
                model.DrawStatic();
            break;
        case Geometry::Tower:
            // Built from the first tower drawn while the toggle is on, then shared.
            if (displayLists)
                CallOrBuild(towerList, model);
            else
                model.DrawStatic();
            break;
        case Geometry::Enemy:
            model.Draw();
            break;
        case Geometry::Player:
            player->GetModel().Draw();
            break;
        case Geometry::Flag:
            model.Draw();
            break;
        case Geometry::Effect:
            particles.SetLift(base + kind->lift);
            o.DrawEffect(effectsShown);
            if (kind->sphereRadius > 0.0f) {
                // The shot's core, in its trail: at its own place, not the world's corner.
                glDisable(GL_TEXTURE_2D);
                glTranslatef(o.GetX(), o.GetY(), o.GetZ());
                DrawSphere(kind->sphereRadius);
            }
            break;
        case Geometry::Sphere:
            DrawSphere(kind->sphereRadius);
            break;
        case Geometry::Ground:  // drawn above, or a model out of sight
            break;
        }

        if (!wallRun) {
            if (kind->textureSlot >= 0)
                glDisable(GL_TEXTURE_2D);
            // Back on in every pass, even where unit 1 was off before.
            if (kind->lookup == Lookup::Off)
                ShadowLookup(true);
        }
        glPopMatrix();
    }
    if (wallRun)
        glDisable(GL_TEXTURE_2D);
    if (split)
        KeepByStencil(StencilKeep::Unset, kept, seenBox);
    drawList.clear();
}

uint64_t CRenderTask::StillLightKey()
{
    GameWorld& world = GameWorld::GetSingleton();
    if (world.GetToggle(kSceneGraphToggle) || world.GetToggle(kBoxToggle) ||
        world.GetToggle(kWireframeToggle))
        return 0;
    // The level, the ground's build and each still object's kind, place and model.
    CStateHasher hash;
    hash.I32(world.GetLevel());
    hash.U32(terrainBuilds);
    world.GetAllObjects(drawList);
    for (const CMMPointer<VOB>& handle : drawList) {
        VOB& o = *handle;
        const Kind* kind = FindKind(o.GetType());
        if (!kind || !StandsStill(*kind))
            continue;
        hash.I32(static_cast<int32_t>(kind - kKinds));
        hash.F32(o.GetX());
        hash.F32(o.GetY());
        const MD2Model& model = o.GetModel();
        const MD2Frame* mesh = model.frames.empty() ? nullptr : model.frames[0].get();
        hash.Bytes(&mesh, sizeof mesh);
    }
    drawList.clear();
    return hash.Value() == 0 ? 1 : hash.Value();
}

void CRenderTask::DrawSceneGraph(const SceneGraphNode* node)
{
    if (!node)
        return;
    if (node->GetKind() == SceneGraphNode::kSplit) {
        for (int q = 1; q <= 4; ++q)
            DrawSceneGraph(node->GetChild(q));
        return;
    }
    const float x0 = node->GetMinX(), y0 = node->GetMinY();
    const float x1 = x0 + node->GetSide(), y1 = y0 + node->GetSide();
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glBegin(GL_POLYGON);
    glVertex3f(x0, y0, 0.0f);
    glVertex3f(x1, y0, 0.0f);
    glVertex3f(x1, y1, 0.0f);
    glVertex3f(x0, y1, 0.0f);
    glEnd();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}
