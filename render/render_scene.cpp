// SPDX-License-Identifier: GPL-3.0-or-later
// Scene drawing: every object of the level by its kind, and the debug overlays.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cmath>

#include "gameplay/projectiles.h"
#include "render/rendertask.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/scenegraph.h"

namespace {

enum class Geometry { None, Ground, Wall, Player, Enemy, Tower, Effect, Sphere, Flag };
enum class Lookup { Keep, Off };  // the shadow lookup on unit 1 while the object draws

struct Material {
    bool set;
    GLfloat specular[4];
    GLfloat shininess;
    bool diffuseAndAmbient;  // white, for the player
};

}  // namespace

// How each kind of object is drawn: lifted above the ground by lift (on top of half
// its model's height), turned to its look direction or not, in its material and texture.
struct SceneKind {
    VOBKind kind;
    bool atPosition;  // translated to its own x, y; else only lifted
    float lift;
    bool turns;
    Material material;
    bool textured;
    TextureId texture;
    Lookup lookup;
    Geometry geometry;
    float sphereRadius;
    bool moves;  // its model animates: each pass draws it a step further on
};

namespace {

using T = TextureId;
// clang-format off
constexpr SceneKind kKinds[] = {
 // kind                at pos lift  turns material                                       textured, texture     lookup        geometry           sphere   moves
    {VOBKind::Other,     false, 0.0f, false, {false, {}, 0, false},                        false, T::Unused,   Lookup::Keep, Geometry::None,     0.0f, false},
    {VOBKind::Ground,    false, 0.0f, false, {true, {0.9f, 0.9f, 0.9f, 1}, 50, false},     false, T::Unused,   Lookup::Keep, Geometry::Ground,   0.0f, false},
    {VOBKind::Wall,      true,  0.0f, false, {true, {0.5f, 0.5f, 1.0f, 1}, 20, false},     true,  T::Wall,     Lookup::Keep, Geometry::Wall,     0.0f, false},
    {VOBKind::Player,    true,  0.0f, true,  {true, {1.0f, 1.0f, 1.0f, 1}, 20, true},      true,  T::Player,   Lookup::Off,  Geometry::Player,   0.0f, true },
    {VOBKind::Enemy,     true,  0.0f, true,  {true, {1.0f, 0.8f, 0.8f, 1}, 15, false},     true,  T::Enemy,    Lookup::Keep, Geometry::Enemy,    0.0f, true },
    {VOBKind::Tower,     true, -1.3f, false, {true, {0.0f, 1.0f, 0.0f, 1}, 15, false},     true,  T::Tower,    Lookup::Off,  Geometry::Tower,    0.0f, false},
    {VOBKind::Flag,      true,  0.5f, false, {false, {}, 0, false},                        false, T::Unused,   Lookup::Keep, Geometry::Flag,     0.0f, true },
    {VOBKind::LaserMG,   false, 1.5f, false, {false, {}, 0, false},                        true,  T::Particle, Lookup::Keep, Geometry::Effect,   0.1f, false},
    {VOBKind::Shotgun,   true,  0.5f, false, {false, {}, 0, false},                        false, T::Unused,   Lookup::Keep, Geometry::Sphere,   0.1f, false},
    {VOBKind::Rocket,    true,  1.0f, false, {false, {}, 0, false},                        false, T::Unused,   Lookup::Keep, Geometry::Sphere,   0.2f, false},
    {VOBKind::Explosion, false, 1.5f, false, {false, {}, 0, false},                        true,  T::Particle, Lookup::Keep, Geometry::Effect,   0.0f, false},
};
// clang-format on
static_assert(sizeof kKinds / sizeof kKinds[0] == static_cast<size_t>(VOBKind::Count), "one row per kind");
constexpr bool KindsInOrder()
{
    for (size_t i = 0; i < sizeof kKinds / sizeof kKinds[0]; ++i)
        if (static_cast<size_t>(kKinds[i].kind) != i)
            return false;
    return true;
}
static_assert(KindsInOrder(), "the rows in the order of the kinds");

const SceneKind& KindOf(const VOB& o) { return kKinds[static_cast<size_t>(o.GetKind())]; }

// The ground, walls and towers never move once placed.
bool StandsStill(const SceneKind& kind)
{
    return kind.geometry == Geometry::Ground || kind.geometry == Geometry::Wall || kind.geometry == Geometry::Tower;
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

// The model faces its look direction: a turn by -atan2(x, y) about the height axis.
void TurnTo(const VOB& o)
{
    double theta = std::atan2(o.GetLookX(), o.GetLookY());
    if (theta < 3.14159265)
        theta = -theta;
    glRotated(theta * 180.0 / M_PI, 0.0, 0.0, 1.0);
}

// Calls the shared list, compiling it from this model the first time.
void CallOrBuild(uint32_t& list, MD2Model& model, CModelDrawer& drawer, bool boxes)
{
    if (list == 0) {
        list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        drawer.DrawStatic(model, boxes);
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
    GameWorld& world = GameWorld::GetSingleton();
    // The particles glow in the lit pass. In the others they move on as they are drawn
    // past (the light's depth leaves them out anyway; the dim pass would add a faint
    // copy under the water's surface, the mirror one below the ground), each a whole
    // screen of blended squares for what little of them shows. In a split dim pass each
    // object is kept by the stencil to where its dim picture can stay (see the frame):
    // what stands still to where the water is seen, a moving model to the water's area.
    const bool light = effects == kLightEffects;
    PassState state = {pass,
                       pass == ScenePass::Dim && splitDimPass,
                       light ? pass == ScenePass::Dim : pass == ScenePass::Lit,
                       false,
                       world.IsOn(Toggle::Displaylists),
                       world.IsOn(Toggle::Boxes),
                       StencilKeep::Unset,
                       false};
    // A copy: objects removed while they are drawn stay alive until the pass ends.
    world.GetAllObjects(drawList);
    LookFromCurrentMatrices();
    for (const CMMPointer<VOB>& handle : drawList) {
        VOB& o = *handle;
        const SceneKind& kind = KindOf(o);
        if (kind.geometry == Geometry::None)
            continue;
        // Walls come in long runs that share one material and texture: the run is set up
        // at its first wall and closed after its last, not once per wall.
        if (state.wallRun && kind.geometry != Geometry::Wall) {
            glDisable(GL_TEXTURE_2D);
            state.wallRun = false;
        }
        if (pass == ScenePass::Light && lightObjects != LightObjects::All &&
            StandsStill(kind) != (lightObjects == LightObjects::Still))
            continue;
        if (kind.geometry == Geometry::Ground)
            DrawGround(state);
        else
            DrawObject(o, kind, state);
    }
    if (state.wallRun)
        glDisable(GL_TEXTURE_2D);
    if (state.split)
        KeepByStencil(StencilKeep::Unset, state.kept);
    drawList.clear();
}

void CRenderTask::StepScene(ScenePass pass)
{
    GameWorld& world = GameWorld::GetSingleton();
    PassState state = {pass, false, false, true, false, false, StencilKeep::Unset, false};
    world.GetAllObjects(drawList);
    for (const CMMPointer<VOB>& handle : drawList) {
        VOB& o = *handle;
        const SceneKind& kind = KindOf(o);
        if (kind.geometry == Geometry::Effect) {
            DrawEffect(o, kind, 0.0f, state);
        } else if (kind.moves) {
            MD2Model& model = kind.geometry == Geometry::Player ? ThePlayer().GetModel() : o.GetModel();
            models.Skip(model, true);
        }
    }
    drawList.clear();
}

void CRenderTask::DrawGround(PassState& state)
{
    // The mirror shows no ground: it lies below it.
    if (state.pass == ScenePass::Mirror)
        return;
    if (state.split)
        KeepByStencil(StencilKeep::WaterSeen, state.kept);
    glPushMatrix();
    SetMaterial(kKinds[static_cast<size_t>(VOBKind::Ground)].material);
    DrawTerrain();
    glPopMatrix();
    if (GameWorld::GetSingleton().IsOn(Toggle::Scenegraph)) {
        glPushMatrix();
        glDisable(GL_LIGHTING);
        glColor3f(1.0f, 1.0f, 1.0f);
        glTranslatef(0.0f, 0.0f, 3.0f);
        DrawSceneGraph(SceneGraph::GetSingleton().GetRoot());
        glEnable(GL_LIGHTING);
        glPopMatrix();
    }
}

void CRenderTask::DrawObject(VOB& o, const SceneKind& kind, PassState& state)
{
    const float base = GroundHeight(o.GetX(), o.GetY()) + static_cast<float>(o.GetModel().GetModelHeight() / 2.0);
    // A path's points are world positions: drawn before the enemy's own frame is set up.
    if (kind.geometry == Geometry::Enemy && GameWorld::GetSingleton().IsOn(Toggle::Paths))
        DrawPath(static_cast<Enemy&>(o), base + 1.0f);
    glPushMatrix();
    if (kind.atPosition)
        glTranslatef(o.GetX(), o.GetY(), base + kind.lift);
    else
        glTranslatef(0.0f, 0.0f, base + kind.lift);
    if (kind.turns)
        TurnTo(o);
    if (kind.geometry == Geometry::Flag)
        glRotated(-90.0, 90.0, 90.0, 1.0);
    if (state.split)
        KeepByStencil(kind.moves ? StencilKeep::WaterArea : StencilKeep::WaterSeen, state.kept);
    BeginLook(kind, state);
    DrawShape(o, kind, base + kind.lift, state);
    EndLook(kind, state);
    glPopMatrix();
}

void CRenderTask::BeginLook(const SceneKind& kind, PassState& state)
{
    if (state.wallRun)
        return;
    SetMaterial(kind.material);
    if (kind.lookup == Lookup::Off)
        ShadowLookup(false);
    if (kind.textured) {
        glActiveTexture(GL_TEXTURE0);
        glEnable(GL_TEXTURE_2D);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glBindTexture(GL_TEXTURE_2D, TextureName(kind.texture));
    }
    state.wallRun = kind.geometry == Geometry::Wall;
}

void CRenderTask::EndLook(const SceneKind& kind, const PassState& state)
{
    if (state.wallRun)
        return;
    if (kind.textured)
        glDisable(GL_TEXTURE_2D);
    // Back on in every pass, even where unit 1 was off before.
    if (kind.lookup == Lookup::Off)
        ShadowLookup(true);
}

void CRenderTask::DrawShape(VOB& o, const SceneKind& kind, float height, const PassState& state)
{
    // A model the pass cannot see is left out, but it leaves the state behind that
    // drawing it would have: the GL's current normal and texture coordinate, and the
    // animation a step further on.
    // The player's figure is always the one in its actor slot.
    MD2Model& model = kind.geometry == Geometry::Player ? ThePlayer().GetModel() : o.GetModel();
    const bool placedModel = kind.atPosition && kind.geometry != Geometry::Sphere;
    if (placedModel && view.SphereOutside(o.GetX(), o.GetY(), height, model.DrawRadius())) {
        models.Skip(model, kind.moves);
        return;
    }
    switch (kind.geometry) {
    case Geometry::Wall:
        // Every wall is the same cube. Its boxes are drawn per wall, never from a list.
        if (state.displayLists && !state.boxes)
            CallOrBuild(wallList, model, models, state.boxes);
        else
            models.DrawStatic(model, state.boxes);
        break;
    case Geometry::Tower:
        // Built from the first tower drawn while the toggle is on, then shared.
        if (state.displayLists)
            CallOrBuild(towerList, model, models, state.boxes);
        else
            models.DrawStatic(model, state.boxes);
        break;
    case Geometry::Enemy:
    case Geometry::Player:
    case Geometry::Flag:
        models.Draw(model, state.boxes);
        break;
    case Geometry::Effect:
        DrawEffect(o, kind, height, state);
        break;
    case Geometry::Sphere:
        DrawSphere(kind.sphereRadius);
        break;
    case Geometry::None:
    case Geometry::Ground:
        break;
    }
}

void CRenderTask::DrawEffect(VOB& o, const SceneKind& kind, float height, const PassState& state)
{
    // Every pass steps the effect as it passes; only the lit one gathers its squares.
    auto* shot = dynamic_cast<CProjectile*>(&o);
    if (ParticleSystem* effect = shot ? shot->Effect() : nullptr) {
        if (state.effectsShown) {
            particles.SetLift(height);
            particles.Gather(*effect);
        }
        effect->Advance(true);
    }
    if (kind.sphereRadius > 0.0f && !state.stepOnly) {
        // The shot's core, in its trail: at its own place, not the world's corner.
        glDisable(GL_TEXTURE_2D);
        glTranslatef(o.GetX(), o.GetY(), o.GetZ());
        DrawSphere(kind.sphereRadius);
    }
}

void CRenderTask::DrawSphere(float radius)
{
    for (SphereList& s : sphereLists) {
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

void CRenderTask::KeepByStencil(StencilKeep want, StencilKeep& current)
{
    if (want == current)
        return;
    current = want;
    switch (want) {
    case StencilKeep::WaterArea:
        glStencilFunc(GL_NOTEQUAL, 0, kWaterBits);
        glDisable(GL_SCISSOR_TEST);
        break;
    case StencilKeep::WaterSeen:
    case StencilKeep::Unset:
        // Unset leaves the test the mirror pass keeps: where the water is seen.
        glStencilFunc(GL_EQUAL, kWaterSeen, kWaterBits);
        // The box round the water seen lets the GL drop what lies outside it early.
        if (want == StencilKeep::WaterSeen && waterSeenBounded) {
            glEnable(GL_SCISSOR_TEST);
            glScissor(waterSeenBox[0], waterSeenBox[1], waterSeenBox[2], waterSeenBox[3]);
        } else {
            glDisable(GL_SCISSOR_TEST);
        }
        break;
    }
}

void CRenderTask::LookFromCurrentMatrices()
{
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    view.Set(projection, modelview);
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
