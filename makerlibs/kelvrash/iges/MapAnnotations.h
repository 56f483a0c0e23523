#pragma once
// Notes, labels, leaders and dimensions as second-generation annotations:
// texts name a font of the font table, dimensions and leaders a dimension
// style, so the drawing gets the file's text heights, arrow sizes and fonts.
// Drawings draw the annotations they list.
#include <map>
#include <string>
#include <vector>

#include <gp_Pnt2d.hxx>

#include "MapContext.h"

class IGESDimen_AngularDimension;
class IGESDimen_DiameterDimension;
class IGESDimen_GeneralLabel;
class IGESDimen_GeneralNote;
class IGESDimen_LeaderArrow;
class IGESDimen_LinearDimension;
class IGESDimen_OrdinateDimension;
class IGESDimen_PointDimension;
class IGESDimen_RadiusDimension;

namespace kelv::iges {

struct Frame;

class AnnotationMapper {
 public:
  explicit AnnotationMapper(MapContext& ctx) : ctx_(ctx) {}

  bool MapGeneralNote(const Handle(IGESDimen_GeneralNote)& note, const Placing& at, Made& made);
  bool MapLeaderArrow(const Handle(IGESDimen_LeaderArrow)& leader, const Placing& at, Made& made);
  bool MapGeneralLabel(const Handle(IGESDimen_GeneralLabel)& label, const Placing& at, Made& made);
  bool MapPointDimension(const Handle(IGESDimen_PointDimension)& point, const Placing& at, Made& made);
  bool MapLinearDimension(const Handle(IGESDimen_LinearDimension)& linear, const Placing& at, Made& made);
  bool MapRadiusDimension(const Handle(IGESDimen_RadiusDimension)& radius, const Placing& at, Made& made);
  bool MapDiameterDimension(const Handle(IGESDimen_DiameterDimension)& diameter, const Placing& at, Made& made);
  bool MapAngularDimension(const Handle(IGESDimen_AngularDimension)& angular, const Placing& at, Made& made);
  bool MapOrdinateDimension(const Handle(IGESDimen_OrdinateDimension)& ordinate, const Placing& at, Made& made);
  // Drawings of both forms (with and without rotation).
  bool MapDrawing(const Entity& e, const Placing& at, Made& made);

  // Once every entity is mapped: the texts' font indices as readers take them.
  void FixFontIndices();

 private:
  // The note's strings as texts and the leader as a leader; owner (the
  // label or dimension that holds them, or null) gives level and colour.
  bool MapNote(const Handle(IGESDimen_GeneralNote)& note, const gp_GTrsf& parent, const Entity& owner,
               model::ObjectMode mode, Made& made);
  bool MapLeader(const Handle(IGESDimen_LeaderArrow)& leader, const gp_GTrsf& parent, const Entity& owner,
                 model::ObjectMode mode, Made& made);
  // A radius or diameter dimension of the given annotation type.
  bool MapRadial(const Entity& e, const Placing& at, Handle(IGESDimen_GeneralNote) note,
                 Handle(IGESDimen_LeaderArrow) leader, const gp_Pnt2d& centre, int type, Made& made);

  // Dimensions: the style of the text's height and font, how the text runs
  // against the dimension line 'along', and the text where the file puts it.
  int StyleFor(const Handle(IGESDimen_GeneralNote)& note, const Entity& e, const gp_GTrsf& parent, double arrowSize,
               double& height);
  int DisplayMode(const Handle(IGESDimen_GeneralNote)& note, const Entity& e, const gp_GTrsf& parent,
                  const gp_XYZ& along) const;
  bool TextPosition(const Handle(IGESDimen_GeneralNote)& note, const Entity& e, const gp_GTrsf& parent,
                    const Frame& f, model::AnnotationT& a, model::Vec2& at) const;
  // A part the parser could not read is half built: the dimension goes
  // without it, as if the file had none.
  template <class Part>
  Part Usable(const Part& part) const {
    return ctx_.Broken(part) ? Part() : part;
  }

  int FontIndex(const Handle(IGESDimen_GeneralNote)& note, int string);
  int DimStyleIndex(double textHeight, double arrowSize, int font, bool arrowhead = true);

  MapContext& ctx_;
  std::map<std::string, int> fontOfName_;
  std::map<std::string, int> dimStyleOfKey_;
  std::vector<model::AnnotationT*> texts_;  // font indices to fix once the table is complete
  std::vector<char> drawnByDrawing_;        // by entity number: listed by a drawing and drawn
};

}  // namespace kelv::iges
